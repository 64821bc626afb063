#include "qareporterloader.h"

#include "ddocument.h"
#include "qareporterdata.h"
#include "qaresultimporter.h"
#include "qastxmlrodhandler.h"
#include "qastxmlrodreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>

#include <new>

QAReporterLoader::QAReporterLoader(QAStudioInterface* progress, const QList<DStyle*>& styles)
    : m_progress(progress), m_styles(styles)
{
}

bool QAReporterLoader::load(const QStringList& paths, QList<QAReporterData*>& records)
{
    m_missing.clear();
    m_reasons.clear();
    m_outOfMemoryPath.clear();
    QSet<QString> loaded;
    for (const QAReporterData* record : std::as_const(records))
        loaded.insert(record->fileName);
    for (const QString& path : paths) {
        if (loaded.contains(path))
            continue;
        QAReporterData* record = nullptr;
        try {
            record = read(path);
        } catch (const std::bad_alloc&) {
            m_outOfMemoryPath = path;
            return false;
        }
        if (!record)
            continue;
        records.append(record);
        loaded.insert(path);
    }
    return true;
}

QAReporterData* QAReporterLoader::read(const QString& path)
{
    QFile file(path);
    if (!file.exists()) {
        m_missing.append(path);
        m_reasons.append(QCoreApplication::translate("QAReporter", "No such file."));
        return nullptr;
    }
    if (file.open(QIODevice::ReadOnly) &&
        QAResultImporter::recognises(file.peek(QAResultImporter::HeadSize)))
        return import(path);
    QAstXmlRodReader reader;
    if (QAstXmlRodHandler* handler = reader.handler())
        handler->setStyles(m_styles);
    if (!file.isOpen() || !reader.parse(&file, &file, m_progress)) {
        m_missing.append(path);
        m_reasons.append(file.isOpen() ? reader.errorString().trimmed() : file.errorString());
        return nullptr;
    }
    return reader.takeRecord(path).release();
}

QAReporterData* QAReporterLoader::import(const QString& path)
{
    QString error;
    std::unique_ptr<QAReporterData> record =
        QAResultImporter::import(path, m_styles, m_progress, &error);
    if (!record) {
        m_missing.append(path);
        m_reasons.append(error);
    }
    return record.release();
}
