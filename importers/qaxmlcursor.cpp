#include "qaxmlcursor.h"

#include "qatestcount.h"

QAXmlCursor::QAXmlCursor(QIODevice* device, bool namespaces) : m_reader(device)
{
    m_reader.setNamespaceProcessing(namespaces);
}

// Reads one token, keeping the depth: an end tag's depth is that of its
// element, lowered when the next token is read.
bool QAXmlCursor::readToken()
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
    while (readToken()) {
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

qint64 QAXmlCursor::count(QLatin1String name) const
{
    return qMax<qint64>(QATestCount::parse(m_reader.attributes().value(name)), 0);
}

QString QAXmlCursor::readText()
{
    QString text;
    const int depth = m_depth;
    while (readToken()) {
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

// The root's start tag may be longer than the head: the reader then stops
// before it, and the tag is looked at as text.
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
    if (reader.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        return false;
    return rootOfCutTag(head, name, namespaceUri);
}

bool QAXmlCursor::rootOfCutTag(const QByteArray& tag, QString* name, QString* namespaceUri)
{
    // Past the declaration, comments and a doctype.
    qsizetype start = tag.indexOf('<');
    while (start >= 0 && start + 1 < tag.size() &&
           (tag.at(start + 1) == '?' || tag.at(start + 1) == '!')) {
        const QByteArray close = tag.mid(start, 4) == "<!--" ? "-->"
                                 : tag.at(start + 1) == '?'  ? "?>"
                                                             : ">";
        const qsizetype end = tag.indexOf(close, start + 2);
        start = end < 0 ? -1 : tag.indexOf('<', end);
    }
    if (start < 0 || start + 1 >= tag.size() || !QChar::isLetter(uchar(tag.at(start + 1))))
        return false;
    qsizetype end = start + 1;
    while (end < tag.size() && !QChar::isSpace(uchar(tag.at(end))) && tag.at(end) != '>' &&
           tag.at(end) != '/')
        ++end;
    const QString qualified = QString::fromUtf8(tag.mid(start + 1, end - start - 1));
    const qsizetype colon = qualified.indexOf(QLatin1Char(':'));
    *name = qualified.mid(colon + 1);
    const QByteArray declaration =
        colon < 0 ? QByteArray("xmlns=\"") : "xmlns:" + qualified.left(colon).toUtf8() + "=\"";
    const qsizetype value = tag.indexOf(declaration, end);
    namespaceUri->clear();
    if (value >= 0) {
        const qsizetype from = value + declaration.size();
        *namespaceUri = QString::fromUtf8(tag.mid(from, tag.indexOf('"', from) - from));
    }
    return true;
}
