#include "dhtmlstylesheet.h"

#include "ditemtraits.h"
#include "dpalette.h"
#include "dstyle.h"

#include <QTextStream>

namespace {

QString cssColor(const QColor& color)
{
    if (color.alpha() == 255)
        return color.name(QColor::HexRgb);
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alphaF(), 0, 'f', 3);
}

// The default look, after the view's block formats and palette.
void writeBase(QTextStream& out)
{
    out << "body { font-family: sans-serif; font-size: 10pt; color: " << cssColor(DPalette::text)
        << "; background: #ffffff; margin: 1em 2em; }\n";
    for (int level = 1; level <= 6; ++level)
        out << "h" << level << " { font-size: " << DItemTraits::titleScale(level)
            << "em; color: " << cssColor(DPalette::title) << "; margin: "
            << (level <= 1   ? 16
                : level == 2 ? 12
                             : 8)
            << "px 0 " << (level <= 2 ? 6 : 4) << "px 0; }\n";
    out << "p, div.paragraph { margin: 3px 0; }\n"
           "a { color: "
        << cssColor(DPalette::link)
        << "; }\n"
           "header.header, footer.footer { font-size: 0.85em; color: "
        << cssColor(DPalette::muted) << "; border: 1px solid " << cssColor(DPalette::frameBorder)
        << "; background: " << cssColor(DPalette::frameBackground)
        << "; padding: 6px; margin: 4px 0; }\n"
           "table { border-collapse: collapse; margin: 4px 0 6px 0; }\n"
           "table td { padding: 4px; vertical-align: top; }\n"
           "table.frame-grid td { border: 1px solid "
        << cssColor(DPalette::rule) << "; }\n"
        << "table.frame-outline { border: 1px solid " << cssColor(DPalette::rule) << "; }\n"
        << "details.popup { border: 1px solid " << cssColor(DPalette::popupBorder)
        << "; background: " << cssColor(DPalette::popupBackground)
        << "; padding: 2px 6px; margin: 4px 0; }\n"
           "details.popup > summary { cursor: pointer; color: "
        << cssColor(DPalette::link)
        << "; }\n"
           "hr.page-break { border: none; border-top: 1px solid "
        << cssColor(DPalette::rule)
        << "; margin: 8px 0; break-after: page; page-break-after: always; }\n"
           "figure.graphic { text-align: center; margin: 6px 0; }\n"
           "ul.summary, ul.index { list-style: none; padding-left: 0; }\n"
           "ul.index > li { margin-left: 16px; }\n"
           "span.missing-image { color: "
        << cssColor(DPalette::muted) << "; font-style: italic; }\n";
}

} // namespace

QString DHtmlStyleSheet::className(const QString& styleName)
{
    QString name = QStringLiteral("s-");
    name.reserve(styleName.size() + 2);
    for (QChar ch : styleName) {
        const ushort code = ch.unicode();
        if ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
            (code >= '0' && code <= '9'))
            name.append(ch);
        else if (code == ' ')
            name.append(QLatin1Char('_'));
        else
            name += QLatin1Char('-') + QString::number(code, 16) + QLatin1Char('-');
    }
    return name;
}

void DHtmlStyleSheet::add(const DStyle* style)
{
    if (!style)
        return;
    m_rules.insert(className(style->name()), rule(*style));
}

QString DHtmlStyleSheet::cssString(const QString& text)
{
    QString quoted = QStringLiteral("\"");
    for (QChar ch : text) {
        const ushort code = ch.unicode();
        if (ch.isSurrogate())
            quoted += QStringLiteral("\\fffd ");
        else if (code < 0x20 || code == 0x7f || code == '"' || code == '\\' || code == '<' ||
                 code == '>' || code == '{' || code == '}' || code == ';')
            quoted += QLatin1Char('\\') + QString::number(code, 16) + QLatin1Char(' ');
        else
            quoted.append(ch);
    }
    return quoted + QLatin1Char('"');
}

QString DHtmlStyleSheet::rule(const DStyle& style)
{
    QString css;
    if (!style.family().isEmpty())
        css += QStringLiteral(" font-family: %1;").arg(cssString(style.family()));
    if (style.pointSize() > 0)
        css += QStringLiteral(" font-size: %1pt;").arg(qMin(style.pointSize(), 1000));
    if (style.bold())
        css += QStringLiteral(" font-weight: bold;");
    if (style.italic())
        css += QStringLiteral(" font-style: italic;");
    if (style.underline())
        css += QStringLiteral(" text-decoration: underline;");
    if (style.color().isValid())
        css += QStringLiteral(" color: %1;").arg(cssColor(style.color()));
    if (style.background().isValid())
        css += QStringLiteral(" background-color: %1;").arg(cssColor(style.background()));
    const QString align = DStyle::alignmentToText(style.alignment());
    if (!align.isEmpty())
        css += QStringLiteral(" text-align: %1;").arg(align);
    if (style.margin() >= 0)
        css += QStringLiteral(" margin-top: %1px; margin-bottom: %1px;")
                   .arg(qMin(style.margin(), 1000));
    return css;
}

void DHtmlStyleSheet::write(QTextStream& out) const
{
    writeBase(out);
    for (auto it = m_rules.cbegin(); it != m_rules.cend(); ++it)
        out << '.' << it.key() << " {" << it.value() << " }\n";
}
