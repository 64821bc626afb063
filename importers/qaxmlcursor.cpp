#include "qaxmlcursor.h"

QAXmlCursor::QAXmlCursor(QIODevice* device, bool namespaces) : m_reader(device)
{
    m_reader.setNamespaceProcessing(namespaces);
}

// Reads one token, keeping the depth: an end tag's depth is that of its
// element, lowered on the step after it.
bool QAXmlCursor::step()
{
    if (m_leaving) {
        --m_depth;
        m_leaving = false;
    }
    m_reader.readNext();
    if (m_reader.isStartElement() && ++m_depth > MaxDepth) {
        raiseError(QStringLiteral("elements nested deeper than %1 levels").arg(MaxDepth));
        return false;
    }
    if (m_reader.isEndElement())
        m_leaving = true;
    return !m_reader.atEnd() && !m_reader.hasError();
}

bool QAXmlCursor::next()
{
    while (step()) {
        if (m_reader.isStartElement() || m_reader.isEndElement())
            return true;
    }
    return false;
}

QString QAXmlCursor::attribute(QLatin1String name) const
{
    return m_reader.attributes().value(name).toString();
}

bool QAXmlCursor::hasAttribute(QLatin1String name) const
{
    return m_reader.attributes().hasAttribute(name);
}

QString QAXmlCursor::readText()
{
    QString text;
    const int depth = m_depth;
    while (step()) {
        if (m_reader.isCharacters())
            text += m_reader.text();
        else if (m_reader.isEndElement() && m_depth == depth)
            break;
    }
    return text;
}

void QAXmlCursor::raiseError(const QString& message)
{
    if (!m_reader.hasError())
        m_reader.raiseError(message);
}

QString QAXmlCursor::errorString() const
{
    return QStringLiteral("line %1: %2").arg(m_reader.lineNumber()).arg(m_reader.errorString());
}

bool QAXmlCursor::rootOf(const QByteArray& head, QString* name, QString* namespaceUri)
{
    QXmlStreamReader reader(head);
    while (!reader.atEnd() && !reader.hasError()) {
        if (reader.readNext() == QXmlStreamReader::StartElement) {
            *name = reader.name().toString();
            *namespaceUri = reader.namespaceUri().toString();
            return true;
        }
    }
    return false;
}
