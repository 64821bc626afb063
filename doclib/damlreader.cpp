#include "damlreader.h"

#include "damlhandler.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QXmlStreamReader>

DAmlReader::DAmlReader() = default;

DAmlReader::~DAmlReader() = default;

bool DAmlReader::parse(QIODevice* input)
{
    if (!input)
        return false;
    QXmlStreamReader xml(input);
    return run(xml);
}

bool DAmlReader::parse(const QByteArray& data)
{
    QXmlStreamReader xml(data);
    return run(xml);
}

bool DAmlReader::run(QXmlStreamReader& xml)
{
    if (!m_handler)
        return false;
    xml.setNamespaceProcessing(false);
    m_handler->setDocumentLocator(&xml);
    bool ok = m_handler->startDocument();
    int depth = 0;
    while (ok && !xml.atEnd())
        ok = dispatch(xml, depth);
    if (ok && xml.hasError()) {
        ok = m_handler->fatalError(
            DAmlParseException(xml.errorString(), xml.lineNumber(), xml.columnNumber()));
    }
    if (ok)
        ok = m_handler->endDocument();
    m_line = xml.lineNumber();
    m_column = xml.columnNumber();
    m_handler->setDocumentLocator(nullptr);
    return ok;
}

bool DAmlReader::dispatch(QXmlStreamReader& xml, int& depth)
{
    static const QString none;
    switch (xml.readNext()) {
    case QXmlStreamReader::StartElement:
        if (++depth > maxDepth()) {
            m_handler->fatalError(DAmlParseException(
                QCoreApplication::translate("DAmlReader", "elements nested deeper than %1 levels")
                    .arg(maxDepth()),
                xml.lineNumber(), xml.columnNumber()));
            return false;
        }
        return m_handler->startElement(none, none, xml.qualifiedName(), xml.attributes());
    case QXmlStreamReader::EndElement:
        --depth;
        return m_handler->endElement(none, none, xml.qualifiedName());
    case QXmlStreamReader::DTD:
        if (!xml.entityDeclarations().isEmpty()) {
            m_handler->fatalError(DAmlParseException(
                QCoreApplication::translate("DAmlReader",
                                            "entity declarations are not allowed (%n declared)",
                                            nullptr, int(xml.entityDeclarations().size())),
                xml.lineNumber(), xml.columnNumber()));
            return false;
        }
        return true;
    case QXmlStreamReader::Characters:
        return xml.isWhitespace() ? m_handler->ignorableWhitespace(xml.text())
                                  : m_handler->characters(xml.text());
    default:
        return true;
    }
}
