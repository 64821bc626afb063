#ifndef DXMLTOKENIZER_H
#define DXMLTOKENIZER_H

#include "dxmlattributes.h"
#include "dxmllocator.h"

#include <QString>

#include <vector>

class QIODevice;
class DXmlSink;
struct XML_ParserStruct;

// Streams XML from a device through Expat and reports it to a sink, with
// names and text decoded to UTF-16 into buffers it reuses, so that reading
// allocates nothing per element. Qualified names stay as written unless
// namespaces are processed (then names are local and namespaceUri() tells
// the element's namespace). A document type that declares entities is
// refused (markup needs none; with Expat's amplification limit as a second
// guard), and so is nesting deeper than MaxDepth. Errors carry the line
// and column where they were found. Parsing can pause after any event and
// resume later, so callers may read in slices or pull event by event.
class DXmlTokenizer : public DXmlLocator
{
public:
    static const int MaxDepth = 2000;
    static const int ChunkSize = 256 * 1024;

    enum Error {
        NoError,
        SyntaxError,    // malformed XML, truncated input included
        TooDeep,        // nesting past MaxDepth
        EntityDeclared, // the document type declares entities
        Stopped,        // the sink returned false
        ReadError       // the device failed
    };

    DXmlTokenizer(QIODevice* device, DXmlSink* sink, bool namespaces = false);
    ~DXmlTokenizer() override;
    DXmlTokenizer(const DXmlTokenizer&) = delete;
    DXmlTokenizer& operator=(const DXmlTokenizer&) = delete;

    // The sink when it could not be given at construction (it needs the
    // tokenizer, say); before run() only.
    void setSink(DXmlSink* sink) { m_sink = sink; }

    // Reads until the end of the input, an error or a pause(); true unless
    // an error stopped it. Call again after a pause to go on.
    bool run();
    // From inside a sink call: run() returns once the current event is
    // reported.
    void pause();
    bool isPaused() const { return m_paused; }
    // The whole input was read without error.
    bool atEnd() const { return m_finished && m_error == NoError; }

    Error error() const { return m_error; }
    // The problem in words, without its place; empty for Stopped.
    QString errorMessage() const { return m_message; }
    // "line L, column C: message"
    QString errorString() const;
    bool isTruncated() const { return m_truncated; }
    // Position of the event being reported, or of the error.
    qint64 lineNumber() const override;
    qint64 columnNumber() const override;
    // Bytes of the input read so far.
    qint64 bytesRead() const { return m_bytesRead; }

    int depth() const { return m_depth; }
    QStringView namespaceUri() const { return m_namespaceUri; }

private:
    friend struct DXmlExpatCallbacks;

    int feed();
    bool afterParse(int status);
    bool flushText();
    void stop(Error error, const QString& message);
    void setExpatError();
    QStringView decodeName(const char* name, std::vector<char16_t>& buffer, qsizetype* start);
    static qsizetype decode(const char* text, qsizetype size, std::vector<char16_t>& buffer,
                            qsizetype used);

    XML_ParserStruct* m_parser;
    QIODevice* m_device;
    DXmlSink* m_sink;
    bool m_namespaces;
    DXmlAttributes m_attributes;
    std::vector<char16_t> m_nameBuffer;
    std::vector<char16_t> m_attributeBuffer;
    std::vector<char16_t> m_textBuffer;
    qsizetype m_textSize = 0;
    bool m_textIsWhitespace = true;
    QStringView m_namespaceUri;
    int m_depth = 0;
    qint64 m_bytesRead = 0;
    Error m_error = NoError;
    QString m_message;
    qint64 m_errorLine = 0;
    qint64 m_errorColumn = 0;
    bool m_paused = false;
    bool m_finished = false;
    bool m_truncated = false;
    bool m_lastChunk = false;
    bool m_rootSeen = false;
};

#endif
