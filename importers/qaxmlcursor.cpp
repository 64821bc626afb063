#include "qaxmlcursor.h"

#include "qatestcount.h"

#include <QXmlStreamReader>

QAXmlCursor::QAXmlCursor(QIODevice* device, bool namespaces) : m_tokenizer(device, this, namespaces)
{
}

QAXmlCursor::~QAXmlCursor() = default;

bool QAXmlCursor::startElement(QStringView name, const DXmlAttributes& attributes)
{
    m_attributes = &attributes;
    queue(Start, name);
    m_tokenizer.pause();
    return true;
}

bool QAXmlCursor::endElement(QStringView name)
{
    queue(End, name);
    m_tokenizer.pause();
    return true;
}

bool QAXmlCursor::characters(QStringView text, bool)
{
    queue(Text, text);
    return true;
}

void QAXmlCursor::queue(Kind kind, QStringView text)
{
    Event event;
    event.kind = kind;
    event.text = text.toString();
    if (kind != Text) {
        event.namespaceUri = m_tokenizer.namespaceUri().toString();
        event.depth = m_tokenizer.depth();
    }
    m_queue.push_back(std::move(event));
}

bool QAXmlCursor::readEvent()
{
    while (m_queue.empty() && !hasError()) {
        if (m_tokenizer.atEnd())
            return false;
        if (!m_tokenizer.run()) {
            raiseError(m_tokenizer.errorMessage());
            m_errorLine = m_tokenizer.lineNumber();
        }
    }
    if (hasError())
        return false;
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    return true;
}

bool QAXmlCursor::next()
{
    while (readEvent()) {
        if (m_current.kind != Text)
            return true;
    }
    return false;
}

QString QAXmlCursor::attribute(QLatin1String name) const
{
    return isStart() ? m_attributes->value(name).toString() : QString();
}

bool QAXmlCursor::hasAttribute(QLatin1String name) const
{
    return isStart() && m_attributes->hasAttribute(name);
}

qint64 QAXmlCursor::count(QLatin1String name) const
{
    return isStart() ? qMax<qint64>(QATestCount::parse(m_attributes->value(name)), 0) : 0;
}

QString QAXmlCursor::readText()
{
    QString text;
    const int depth = m_current.depth;
    if (!isStart())
        return text;
    while (readEvent()) {
        if (m_current.kind == Text)
            text += m_current.text;
        else if (m_current.kind == End && m_current.depth == depth)
            break;
    }
    return text;
}

void QAXmlCursor::raiseError(const QString& message)
{
    if (hasError())
        return;
    m_error = message;
    m_errorLine = m_tokenizer.lineNumber();
}

QString QAXmlCursor::errorString() const
{
    return QStringLiteral("line %1: %2").arg(m_errorLine).arg(m_error);
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
