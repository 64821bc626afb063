#include "damlreader.h"

#include "damlhandler.h"
#include "dxmltokenizer.h"

#include <QBuffer>
#include <QIODevice>

DAmlReader::DAmlReader() = default;

DAmlReader::~DAmlReader() = default;

int DAmlReader::maxDepth()
{
    return DXmlTokenizer::MaxDepth;
}

bool DAmlReader::parse(QIODevice* input)
{
    if (!input || !m_handler)
        return false;
    DXmlTokenizer tokenizer(input, this);
    m_handler->setDocumentLocator(&tokenizer);
    bool ok = m_handler->startDocument() && tokenizer.run();
    // The handler's own reason stands when it stopped the parse.
    if (!ok && tokenizer.error() != DXmlTokenizer::Stopped &&
        tokenizer.error() != DXmlTokenizer::NoError) {
        ok = m_handler->fatalError(DAmlParseException(
            tokenizer.errorMessage(), tokenizer.lineNumber(), tokenizer.columnNumber()));
    }
    if (ok)
        ok = m_handler->endDocument();
    m_line = tokenizer.lineNumber();
    m_column = tokenizer.columnNumber();
    m_handler->setDocumentLocator(nullptr);
    return ok;
}

bool DAmlReader::parse(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return parse(&buffer);
}

bool DAmlReader::startElement(QStringView name, const DXmlAttributes& attributes)
{
    static const QString none;
    return m_handler->startElement(none, none, name, attributes);
}

bool DAmlReader::endElement(QStringView name)
{
    static const QString none;
    return m_handler->endElement(none, none, name);
}

bool DAmlReader::characters(QStringView text, bool whitespace)
{
    return whitespace ? m_handler->ignorableWhitespace(text) : m_handler->characters(text);
}
