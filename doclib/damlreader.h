#ifndef DAMLREADER_H
#define DAMLREADER_H

#include <QtGlobal>

class QByteArray;
class QIODevice;
class QXmlStreamReader;
class DAmlHandler;

// Reads markup from a device as a stream and reports it, event by event, to
// its handler. Namespace processing is off: names are compared as written.
// Elements nested deeper than maxDepth() levels are refused, and so is a
// document type that declares entities: markup needs none, and a few
// declared ones referenced many times expand a small file into gigabytes.
class DAmlReader
{
public:
    DAmlReader();
    virtual ~DAmlReader();
    DAmlReader(const DAmlReader&) = delete;
    DAmlReader& operator=(const DAmlReader&) = delete;

    void setContentHandler(DAmlHandler* handler) { m_handler = handler; }
    DAmlHandler* contentHandler() const { return m_handler; }

    // Reads the whole input; true when it was read without error. The
    // error text is then the handler's errorString().
    bool parse(QIODevice* input);
    bool parse(const QByteArray& data);

    static int maxDepth() { return 2000; }
    // Where the last parse stopped (after a failure: where it failed).
    qint64 lineNumber() const { return m_line; }
    qint64 columnNumber() const { return m_column; }

private:
    bool run(QXmlStreamReader& xml);
    bool dispatch(QXmlStreamReader& xml, int& depth);

    DAmlHandler* m_handler = nullptr;
    qint64 m_line = 0;
    qint64 m_column = 0;
};

#endif
