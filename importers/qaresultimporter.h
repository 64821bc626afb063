#ifndef QARESULTIMPORTER_H
#define QARESULTIMPORTER_H

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

class DStyle;
class QAReporterData;
class QAStudioInterface;

// Reads result files of other test tools into report records: finds the
// format from the file's first bytes (never from its name), reads it with
// that format's parser into a QAResultReportBuilder and returns the record.
class QAResultImporter
{
public:
    // How many bytes of a file recognises() and formatName() look at.
    static constexpr int HeadSize = 4096;

    // Whether head, the first HeadSize bytes of a file, is in a format one
    // of the parsers reads.
    static bool recognises(const QByteArray& head);
    // The name of head's format ("JUnit XML"); empty when none reads it.
    static QString formatName(const QByteArray& head);

    // Reads the file at path with the items' styles, reporting progress to
    // progress when it is not null. Null on failure, with error (when not
    // null) naming the file and the problem.
    static std::unique_ptr<QAReporterData> import(const QString& path, const QList<DStyle*>& styles,
                                                  QAStudioInterface* progress, QString* error);
};

#endif
