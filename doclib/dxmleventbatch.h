#ifndef DXMLEVENTBATCH_H
#define DXMLEVENTBATCH_H

#include "dxmlattributes.h"
#include "dxmllocator.h"
#include "dxmlsink.h"

#include <functional>
#include <vector>

// A run of XML events recorded on one thread and replayed on another: the
// tokenizer's short-lived views are copied into the batch's own buffers,
// with the place of each event. Replaying can stop between any two events
// and go on later; while it runs, the batch tells where the event being
// replayed was found.
class DXmlEventBatch : public DXmlSink, public DXmlLocator
{
public:
    // Recording: locator gives the place of each event as it comes.
    explicit DXmlEventBatch(const DXmlLocator* locator = nullptr);

    bool startElement(QStringView name, const DXmlAttributes& attributes) override;
    bool endElement(QStringView name) override;
    bool characters(QStringView text, bool whitespace) override;

    int eventCount() const { return int(m_events.size()); }
    // Memory the recorded events take, roughly.
    qsizetype byteSize() const;

    // Replays events into sink from where the last call stopped, until the
    // end, a false from the sink (then false) or, checked every few events,
    // until timeUp() says so.
    bool replay(DXmlSink* sink, const std::function<bool()>& timeUp);
    bool isReplayed() const { return m_next == m_events.size(); }
    // Bytes of the input read when the batch was closed.
    qint64 inputEnd() const { return m_inputEnd; }
    void setInputEnd(qint64 bytes) { m_inputEnd = bytes; }

    qint64 lineNumber() const override;
    qint64 columnNumber() const override;

private:
    enum Kind : quint8 { Start, End, Text, Whitespace };
    struct Event
    {
        Kind kind;
        int attributeCount;
        qsizetype firstAttribute;
        qsizetype textStart;
        qsizetype textSize;
        qint64 line;
        qint64 column;
    };
    struct Span
    {
        qsizetype nameStart, nameSize, valueStart, valueSize;
    };

    void record(Kind kind, QStringView text, int attributeCount);
    qsizetype store(QStringView text);

    const DXmlLocator* m_locator;
    std::vector<Event> m_events;
    std::vector<Span> m_spans;
    std::vector<char16_t> m_text;
    DXmlAttributes m_attributes;
    size_t m_next = 0;
    qint64 m_inputEnd = 0;
};

#endif
