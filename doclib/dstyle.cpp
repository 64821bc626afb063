#include "dstyle.h"

DStyle::DStyle(const QString& name) : m_name(name) {}

QFont DStyle::font(const QFont& base) const
{
    QFont font(base);
    if (!m_family.isEmpty())
        font.setFamilies({m_family, base.family()});
    if (m_pointSize > 0)
        font.setPointSize(m_pointSize);
    font.setBold(m_bold);
    font.setItalic(m_italic);
    font.setUnderline(m_underline);
    return font;
}

Qt::Alignment DStyle::alignmentFromText(QStringView text)
{
    if (text == u"left")
        return Qt::AlignLeft;
    if (text == u"center")
        return Qt::AlignHCenter;
    if (text == u"right")
        return Qt::AlignRight;
    if (text == u"justify")
        return Qt::AlignJustify;
    return {};
}

QString DStyle::alignmentToText(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (alignment & Qt::AlignRight)
        return QStringLiteral("right");
    if (alignment & Qt::AlignJustify)
        return QStringLiteral("justify");
    if (alignment & Qt::AlignLeft)
        return QStringLiteral("left");
    return QString();
}
