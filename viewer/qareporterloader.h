#ifndef QAREPORTERLOADER_H
#define QAREPORTERLOADER_H

#include <QList>
#include <QStringList>

class DStyle;
class QAReporterData;
class QAStudioInterface;

// Reads report files into records, one file at a time, streaming: report
// files with the report reader, other tools' result files (recognised from
// their content) through the result importer. A file
// that is missing or cannot be read is listed, not fatal; running out of
// memory stops the load.
class QAReporterLoader
{
public:
    // progress may be null; styles are those items refer to by name.
    QAReporterLoader(QAStudioInterface* progress, const QList<DStyle*>& styles);

    // Reads every path not yet among the records' file names (nor twice in
    // paths) and appends its record to records. False when memory ran
    // out: outOfMemoryPath() names the file and the paths after it are not
    // read.
    bool load(const QStringList& paths, QList<QAReporterData*>& records);

    const QStringList& missing() const { return m_missing; }
    const QString& outOfMemoryPath() const { return m_outOfMemoryPath; }
    // Why each missing file could not be read, in the order of missing().
    const QStringList& reasons() const { return m_reasons; }

private:
    QAReporterData* read(const QString& path);
    QAReporterData* import(const QString& path);

    QAStudioInterface* m_progress;
    QList<DStyle*> m_styles;
    QStringList m_missing;
    QStringList m_reasons;
    QString m_outOfMemoryPath;
};

#endif
