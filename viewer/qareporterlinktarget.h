#ifndef QAREPORTERLINKTARGET_H
#define QAREPORTERLINKTARGET_H

#include <QString>

// What the target text of a link in a report asks for: another report file
// ("xrdlink://file#anchor", the file relative to the report that holds the
// link), or a place in a source file ("file line N"), given to the host.
class QAReporterLinkTarget
{
public:
    struct ReportLink
    {
        QString file;   // empty: the link only moves to the anchor
        QString anchor; // empty: the start of the report
    };
    struct SourceLink
    {
        bool matched = false; // the target reads "<file> line <number>"
        QString file;         // white space stripped
        QString line;
    };

    static bool isReportLink(const QString& target);
    // The file of a report link made absolute against the directory of
    // currentReport. An empty file stays empty. False for a relative file
    // when there is no current report: such a link goes nowhere.
    static bool reportLink(const QString& target, const QString& currentReport, ReportLink* link);

    static SourceLink sourceLink(const QString& target);
    // Whether the source file must be looked up under the base directory of
    // the link's report node: it is empty, or relative and not found from
    // the current directory.
    static bool needsBase(const SourceLink& link);
    // base, then the file, " line " and the line, without a separator
    // added: bases end with one.
    static QString withBase(const QString& base, const SourceLink& link);
};

#endif
