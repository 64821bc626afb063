#include "qaresultimporter.h"

#include "qajunitparser.h"
#include "qanunitparser.h"
#include "qaprogressdevice.h"
#include "qaprogressreport.h"
#include "qareporterdata.h"
#include "qaresultreportbuilder.h"
#include "qatapparser.h"
#include "qatrxparser.h"
#include "qaxunitparser.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <functional>

namespace {

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(QAResultImporter)
};

// Reads device into sink with a fresh parser of type Parser.
template <typename Parser> bool readWith(QIODevice* device, QAResultSink* sink, QString* error)
{
    Parser parser;
    if (parser.read(device, sink))
        return true;
    *error = parser.errorString();
    return false;
}

// Reads the file at path into sink with a fresh parser of type Parser,
// which tokenizes it on a second thread; progress hears the bytes read.
template <typename Parser>
bool readFileWith(const QString& path, QAResultSink* sink,
                  const std::function<void(qint64)>& progress, QString* error)
{
    Parser parser;
    if (parser.readFile(path, sink, progress))
        return true;
    *error = parser.errorString();
    return false;
}

struct Format
{
    const char* name;
    bool (*recognises)(const QByteArray& head);
    bool (*read)(QIODevice* device, QAResultSink* sink, QString* error);
    // Null when the format is read from the device only.
    bool (*readFile)(const QString& path, QAResultSink* sink,
                     const std::function<void(qint64)>& progress, QString* error);
};

// Every format read, one line each, tried in this order.
const Format formats[] = {
    {"JUnit XML", &QAJUnitParser::recognises, &readWith<QAJUnitParser>,
     &readFileWith<QAJUnitParser>},
    {"NUnit 3", &QANUnitParser::recognises, &readWith<QANUnitParser>, nullptr},
    {"xUnit.net v2", &QAXUnitParser::recognises, &readWith<QAXUnitParser>, nullptr},
    {"TRX", &QATrxParser::recognises, &readWith<QATrxParser>, nullptr},
    {"TAP", &QATapParser::recognises, &readWith<QATapParser>, nullptr},
};

// Reads file, open, with format, telling progress how far it got.
bool readFormat(const Format& format, QFile& file, QAResultSink* sink, QAStudioInterface* progress,
                QString* problem)
{
    const QString label = QCoreApplication::translate("Reporter", "Analysing %1")
                              .arg(QFileInfo(file.fileName()).fileName());
    if (format.readFile && !file.isSequential()) {
        // The tokenizing thread opens the file again: a pipe or a device
        // could not give its start twice.
        QAProgressReport report(progress, file.size(), label);
        file.close();
        return format.readFile(
            file.fileName(), sink, [&report](qint64 bytes) { report.setBytesRead(bytes); },
            problem);
    }
    QAProgressDevice device(&file, progress, label);
    return format.read(&device, sink, problem);
}

const Format* formatOf(const QByteArray& head)
{
    for (const Format& format : formats) {
        if (format.recognises(head))
            return &format;
    }
    return nullptr;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

bool QAResultImporter::recognises(const QByteArray& head)
{
    return formatOf(head) != nullptr;
}

QString QAResultImporter::formatName(const QByteArray& head)
{
    const Format* format = formatOf(head);
    return format ? QLatin1String(format->name) : QString();
}

std::unique_ptr<QAReporterData> QAResultImporter::import(const QString& path,
                                                         const QList<DStyle*>& styles,
                                                         QAStudioInterface* progress,
                                                         QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, Texts::tr("The file %1 cannot be read: %2.").arg(path, file.errorString()));
        return nullptr;
    }
    const Format* format = formatOf(file.peek(HeadSize));
    if (!format) {
        setError(
            error,
            Texts::tr("%1 is not a test result file in a format this viewer reads.").arg(path));
        return nullptr;
    }
    QAResultReportBuilder builder(styles);
    builder.setFileName(path);
    QString problem;
    const bool read = readFormat(*format, file, &builder, progress, &problem);
    std::unique_ptr<QAReporterData> record = read ? builder.takeRecord() : nullptr;
    if (!record) {
        setError(error, Texts::tr("%1 (%2): %3")
                            .arg(path, QLatin1String(format->name),
                                 problem.isEmpty() ? Texts::tr("no test run found") : problem));
        return nullptr;
    }
    return record;
}
