#ifndef QALINKTARGET_H
#define QALINKTARGET_H

#include <QString>

// The target text of a link in a report, read and written in one place.
// Two forms mean something beyond the document:
// - a link to a report, "xrdlink://FILE#ANCHOR": the first 10 characters
//   are exactly "xrdlink://", the file runs up to the first '#', the
//   anchor follows it. An empty file stays in the report that holds the
//   link ("xrdlink://#anchor" only moves to the anchor).
// - a source reference, "FILE line N": the text matches "(.*)line (\d+)"
//   from its first character (case-sensitive, greedy, so the last
//   "line N" counts); the file is what comes before, trimmed, and text
//   after the number is ignored ("a.c line 3 (x)" is a.c, line 3).
// The report form is recognised first: its prefix cannot be a source
// file name, while a file or an anchor may hold "line 2" ("baseline 2").
// Anything else is a target the document itself resolves.
class QALinkTarget
{
public:
    enum Kind { Other, Report, Source };

    static QALinkTarget parse(const QString& target);

    // "xrdlink://file#anchor"; no '#' when the anchor is empty.
    static QString reportLink(const QString& file, const QString& anchor = QString());
    // "xrdlink://#anchor": a place of the report that holds the link.
    static QString localLink(const QString& anchor) { return reportLink(QString(), anchor); }
    // "file line N".
    static QString sourceReference(const QString& file, qint64 line);
    static QString sourceReference(const QString& file, const QString& line);

    Kind kind() const { return m_kind; }
    bool isReport() const { return m_kind == Report; }
    bool isSource() const { return m_kind == Source; }
    // A report link with no file: it moves inside the current report.
    bool isLocal() const { return m_kind == Report && m_file.isEmpty(); }

    // The report file (as written) or the source file (trimmed).
    const QString& file() const { return m_file; }
    // After the '#' of a report link; empty for the other kinds.
    const QString& anchor() const { return m_anchor; }
    // The digits of a source reference, as written; empty otherwise.
    const QString& line() const { return m_line; }
    // The line as a number, 0 when it is none or does not fit.
    int lineNumber() const;

private:
    Kind m_kind = Other;
    QString m_file;
    QString m_anchor;
    QString m_line;
};

#endif
