#ifndef DXMLATTRIBUTES_H
#define DXMLATTRIBUTES_H

#include <QString>
#include <QStringView>

#include <vector>

// The attributes of one start tag, as views into the tokenizer's text
// buffer: valid during the call that hands them over, never copied.
class DXmlAttributes
{
public:
    int count() const { return int(m_spans.size()); }
    QStringView name(int index) const;
    // Never null: an empty attribute is an empty, non-null view.
    QStringView value(int index) const;
    // Null when the attribute is absent. A linear search: tags carry few
    // attributes.
    QStringView value(QLatin1String name) const;
    bool hasAttribute(QLatin1String name) const { return indexOf(name) >= 0; }
    int indexOf(QLatin1String name) const;

    // Filled by the tokenizer: spans are offsets into text, which it sets
    // once all of them are written.
    void clear() { m_spans.clear(); }
    void append(qsizetype nameStart, qsizetype nameSize, qsizetype valueStart, qsizetype valueSize);
    void setText(const char16_t* text) { m_text = text; }

private:
    struct Span
    {
        qsizetype nameStart;
        qsizetype nameSize;
        qsizetype valueStart;
        qsizetype valueSize;
    };

    const char16_t* m_text = u"";
    std::vector<Span> m_spans;
};

#endif
