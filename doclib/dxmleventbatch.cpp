#include "dxmleventbatch.h"

#include <algorithm>

// Texts start and end this far from the ends of their buffer: Qt's string
// hashing reads whole aligned vectors, which may reach a little before and
// after a view.
static const size_t Margin = 16;

DXmlEventBatch::DXmlEventBatch(const DXmlLocator* locator)
    : m_locator(locator), m_text(Margin, u'\0')
{
}

qsizetype DXmlEventBatch::store(QStringView text)
{
    const qsizetype start = qsizetype(m_text.size());
    const size_t needed = m_text.size() + size_t(text.size()) + Margin;
    if (m_text.capacity() < needed)
        m_text.reserve(std::max(needed, m_text.capacity() * 2));
    m_text.insert(m_text.end(), text.utf16(), text.utf16() + text.size());
    return start;
}

void DXmlEventBatch::record(Kind kind, QStringView text, int attributeCount)
{
    Event event;
    event.kind = kind;
    event.attributeCount = attributeCount;
    event.firstAttribute = qsizetype(m_spans.size()) - attributeCount;
    event.textSize = text.size();
    event.textStart = store(text);
    event.line = m_locator ? m_locator->lineNumber() : 0;
    event.column = m_locator ? m_locator->columnNumber() : 0;
    m_events.push_back(event);
}

bool DXmlEventBatch::startElement(QStringView name, const DXmlAttributes& attributes)
{
    for (int index = 0; index < attributes.count(); ++index) {
        Span span;
        span.nameSize = attributes.name(index).size();
        span.nameStart = store(attributes.name(index));
        span.valueSize = attributes.value(index).size();
        span.valueStart = store(attributes.value(index));
        m_spans.push_back(span);
    }
    record(Start, name, attributes.count());
    return true;
}

bool DXmlEventBatch::endElement(QStringView name)
{
    record(End, name, 0);
    return true;
}

bool DXmlEventBatch::characters(QStringView text, bool whitespace)
{
    record(whitespace ? Whitespace : Text, text, 0);
    return true;
}

qsizetype DXmlEventBatch::byteSize() const
{
    return qsizetype(m_text.size() * sizeof(char16_t) + m_events.size() * sizeof(Event) +
                     m_spans.size() * sizeof(Span));
}

bool DXmlEventBatch::replay(DXmlSink* sink, const std::function<bool()>& timeUp)
{
    const char16_t* text = m_text.data();
    for (int sinceCheck = 0; m_next < m_events.size(); ++sinceCheck) {
        if (sinceCheck == 64) {
            sinceCheck = 0;
            if (timeUp())
                return true;
        }
        const Event& event = m_events[m_next++];
        const QStringView content(text + event.textStart, event.textSize);
        bool ok = true;
        switch (event.kind) {
        case Start:
            m_attributes.clear();
            for (int index = 0; index < event.attributeCount; ++index) {
                const Span& span = m_spans[size_t(event.firstAttribute + index)];
                m_attributes.append(span.nameStart, span.nameSize, span.valueStart, span.valueSize);
            }
            m_attributes.setText(text);
            ok = sink->startElement(content, m_attributes);
            break;
        case End:
            ok = sink->endElement(content);
            break;
        case Text:
        case Whitespace:
            ok = sink->characters(content, event.kind == Whitespace);
            break;
        }
        if (!ok)
            return false;
    }
    return true;
}

qint64 DXmlEventBatch::lineNumber() const
{
    return m_next > 0 ? m_events[m_next - 1].line : 0;
}

qint64 DXmlEventBatch::columnNumber() const
{
    return m_next > 0 ? m_events[m_next - 1].column : 0;
}
