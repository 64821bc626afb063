#ifndef QAXMLCURSOR_H
#define QAXMLCURSOR_H

#include "dxmlsink.h"
#include "dxmltokenizer.h"

#include <QString>

#include <deque>

class QByteArray;
class QIODevice;

// Walks an XML result file from element to element in one pass, keeping
// the depth of the current element and refusing nesting deeper than
// MaxDepth, so that no file makes a parser recurse or hold more than the
// elements it keeps. Names are local names: a prefix never matters.
class QAXmlCursor : private DXmlSink
{
public:
    static const int MaxDepth = DXmlTokenizer::MaxDepth;

    // namespaces: whether prefixes are resolved (their declarations are
    // then required); without, a prefixed name keeps its prefix.
    QAXmlCursor(QIODevice* device, bool namespaces);
    ~QAXmlCursor() override;

    // Moves to the next start or end tag; false at the end of the document
    // or on an error.
    bool next();
    bool isStart() const { return m_current.kind == Start; }
    bool isEnd() const { return m_current.kind == End; }
    // The current element's local name.
    QStringView name() const { return m_current.text; }
    QStringView namespaceUri() const { return m_current.namespaceUri; }
    // Depth of the current element; the root is 1.
    int depth() const { return m_current.depth; }
    QString attribute(QLatin1String name) const;
    bool hasAttribute(QLatin1String name) const;
    // The count an attribute claims: 0 when missing or not a count (a
    // sign, a fraction, letters); a count too large for 64 bits is the
    // largest there is, so that sums of counts saturate and never wrap.
    qint64 count(QLatin1String name) const;
    // The text of the current element and of everything in it; leaves the
    // cursor on the element's end tag.
    QString readText();

    bool hasError() const { return !m_error.isEmpty(); }
    void raiseError(const QString& message);
    // "line N: what is wrong".
    QString errorString() const;

    // The root element of a file from its first bytes: false when none can
    // be read there.
    static bool rootOf(const QByteArray& head, QString* name, QString* namespaceUri);

private:
    enum Kind { None, Start, End, Text };
    struct Event
    {
        Kind kind = None;
        QString text; // the element's name, or the text
        QString namespaceUri;
        int depth = 0;
    };

    bool startElement(QStringView name, const DXmlAttributes& attributes) override;
    bool endElement(QStringView name) override;
    bool characters(QStringView text, bool whitespace) override;
    void queue(Kind kind, QStringView text);
    // The next event of any kind; false at the end or on an error.
    bool readEvent();
    static bool rootOfCutTag(const QByteArray& tag, QString* name, QString* namespaceUri);

    DXmlTokenizer m_tokenizer;
    // Events of the last resumption: the tokenizer pauses after each tag,
    // but text before it and the end of an empty element come with it.
    std::deque<Event> m_queue;
    Event m_current;
    const DXmlAttributes* m_attributes = nullptr; // of the latest start tag
    QString m_error;
    qint64 m_errorLine = 0;
};

#endif
