#ifndef QAREPORTERLINKTARGET_H
#define QAREPORTERLINKTARGET_H

#include <QString>

class DItem;
class QALinkTarget;

// What the viewer adds to a parsed link target: the file of a report link
// is relative to the report that holds the link, and the file of a source
// reference may be relative to the base directory of its report node.
class QAReporterLinkTarget
{
public:
    // The file of a report link made absolute against the directory of
    // currentReport, into *file. An empty file stays empty. False for a
    // relative file when there is no current report: such a link goes
    // nowhere.
    static bool reportFile(const QALinkTarget& link, const QString& currentReport, QString* file);

    // The item named anchor in the document that holds item (the document
    // itself when its tag is anchor), null when there is none: reports
    // shown together may use the same names.
    static const DItem* placeInDocumentOf(const DItem* item, const QString& anchor);

    // Whether the source file must be looked up under the base directory of
    // the link's report node: it is empty, or relative and not found from
    // the current directory.
    static bool needsBase(const QALinkTarget& source);
    // The reference with base put before its file, without a separator
    // added: bases end with one.
    static QString withBase(const QString& base, const QALinkTarget& source);
};

#endif
