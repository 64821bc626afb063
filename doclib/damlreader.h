#ifndef DAMLREADER_H
#define DAMLREADER_H

#include "dxmlsink.h"

#include <QtGlobal>

class QByteArray;
class QIODevice;
class DAmlHandler;
class DXmlTokenizer;

// Reads markup from a device as a stream and reports it, event by event, to
// its handler. Names are compared as written (no namespaces). Elements
// nested deeper than maxDepth() levels are refused, and so is a document
// type that declares entities: markup needs none, and a few declared ones
// referenced many times expand a small file into gigabytes.
class DAmlReader : private DXmlSink
{
public:
    DAmlReader();
    ~DAmlReader() override;
    DAmlReader(const DAmlReader&) = delete;
    DAmlReader& operator=(const DAmlReader&) = delete;

    void setContentHandler(DAmlHandler* handler) { m_handler = handler; }
    DAmlHandler* contentHandler() const { return m_handler; }

    // Reads the whole input; true when it was read without error. The
    // error text is then the handler's errorString().
    bool parse(QIODevice* input);
    bool parse(const QByteArray& data);

    // The sink that hands events to the handler, for input tokenized
    // elsewhere (on another thread, say).
    DXmlSink* handlerSink() { return this; }

    static int maxDepth();
    // Where the last parse stopped (after a failure: where it failed).
    qint64 lineNumber() const { return m_line; }
    qint64 columnNumber() const { return m_column; }

private:
    bool startElement(QStringView name, const DXmlAttributes& attributes) override;
    bool endElement(QStringView name) override;
    bool characters(QStringView text, bool whitespace) override;

    DAmlHandler* m_handler = nullptr;
    qint64 m_line = 0;
    qint64 m_column = 0;
};

#endif
