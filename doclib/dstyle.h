#ifndef DSTYLE_H
#define DSTYLE_H

#include <QColor>
#include <QFont>
#include <QString>

// A named look for items: font, colours, alignment and margin. Unset values
// (empty family, size 0, invalid colours, alignment 0, margin -1) leave the
// view's default for the item's kind.
class DStyle
{
public:
    explicit DStyle(const QString& name = QString());

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    const QString& family() const { return m_family; }
    void setFamily(const QString& family) { m_family = family; }
    int pointSize() const { return m_pointSize; }
    void setPointSize(int size) { m_pointSize = size; }
    bool bold() const { return m_bold; }
    void setBold(bool on) { m_bold = on; }
    bool italic() const { return m_italic; }
    void setItalic(bool on) { m_italic = on; }
    bool underline() const { return m_underline; }
    void setUnderline(bool on) { m_underline = on; }
    const QColor& color() const { return m_color; }
    void setColor(const QColor& color) { m_color = color; }
    const QColor& background() const { return m_background; }
    void setBackground(const QColor& color) { m_background = color; }
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment) { m_alignment = alignment; }
    int margin() const { return m_margin; }
    void setMargin(int margin) { m_margin = margin; }

    // The base font with this style's family, size and flags applied.
    QFont font(const QFont& base) const;

    // "left", "center", "right", "justify" and back; unknown text gives 0.
    static Qt::Alignment alignmentFromText(QStringView text);
    static QString alignmentToText(Qt::Alignment alignment);

private:
    QString m_name;
    QString m_family;
    QColor m_color;
    QColor m_background;
    int m_pointSize = 0;
    int m_margin = -1;
    Qt::Alignment m_alignment;
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
};

#endif
