#ifndef QAXMLCURSOR_H
#define QAXMLCURSOR_H

#include <QXmlStreamReader>

class QIODevice;

// Walks an XML result file from element to element in one pass, keeping
// the depth of the current element and refusing nesting deeper than
// MaxDepth, so that no file makes a parser recurse or hold more than the
// elements it keeps. Names are local names: a prefix never matters.
class QAXmlCursor
{
public:
    static const int MaxDepth = 2000;

    // namespaces: whether prefixes are resolved (their declarations are
    // then required); without, a prefixed name keeps its prefix.
    QAXmlCursor(QIODevice* device, bool namespaces);

    // Moves to the next start or end tag; false at the end of the document
    // or on an error.
    bool next();
    bool isStart() const { return m_reader.isStartElement(); }
    bool isEnd() const { return m_reader.isEndElement(); }
    // The current element's local name.
    QStringView name() const { return m_reader.name(); }
    QStringView namespaceUri() const { return m_reader.namespaceUri(); }
    // Depth of the current element; the root is 1.
    int depth() const { return m_depth; }
    QString attribute(QLatin1String name) const;
    bool hasAttribute(QLatin1String name) const;
    // The count an attribute claims: 0 when missing or not a count (a
    // sign, a fraction, letters); a count too large for 64 bits is the
    // largest there is, so that sums of counts saturate and never wrap.
    qint64 count(QLatin1String name) const;
    // The text of the current element and of everything in it; leaves the
    // cursor on the element's end tag.
    QString readText();

    bool hasError() const { return m_reader.hasError(); }
    void raiseError(const QString& message);
    // "line N: what is wrong".
    QString errorString() const;

    // The root element of a file from its first bytes: false when none can
    // be read there.
    static bool rootOf(const QByteArray& head, QString* name, QString* namespaceUri);

private:
    bool readToken();
    static bool rootOfCutTag(const QByteArray& tag, QString* name, QString* namespaceUri);

    QXmlStreamReader m_reader;
    int m_depth = 0;
    bool m_leaving = false; // the last token read was an end tag
};

#endif
