#include "qastxmlrodreader.h"

#include "ddocument.h"
#include "qareporterdata.h"
#include "qareporterdatatree.h"
#include "qastudiointerface.h"
#include "qastxmlrodhandler.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

QAstXmlRodReader::QAstXmlRodReader() : m_handler(new QAstXmlRodHandler)
{
    setContentHandler(m_handler);
}

QAstXmlRodReader::~QAstXmlRodReader()
{
    delete m_handler;
}

QAstXmlRodHandler* QAstXmlRodReader::handler() const
{
    return contentHandler() == m_handler ? m_handler : nullptr;
}

bool QAstXmlRodReader::parse(QIODevice* source, QFile* file, QAStudioInterface* progress)
{
    QAstXmlRodHandler::resetSteps();
    QAstXmlRodHandler* rodHandler = handler();
    const bool showProgress = rodHandler && file && progress;
    if (showProgress) {
        rodHandler->setFile(file);
        rodHandler->setProgress(progress);
        const qint64 total = file->size() / 50;
        QAstXmlRodHandler::setTotalSteps(int(qMin<qint64>(total, INT_MAX)));
        progress->progressStart(QAstXmlRodHandler::totalSteps(),
                                QCoreApplication::translate("Reporter", "Analysing %1")
                                    .arg(QFileInfo(file->fileName()).fileName()),
                                QCoreApplication::translate("Reporter", "Cancel"));
    } else if (rodHandler) {
        rodHandler->setFile(nullptr);
        rodHandler->setProgress(nullptr);
    }
    if (rodHandler)
        rodHandler->setSourceName(file ? file->fileName() : QString());
    bool ok = false;
    if (source) {
        ok = DAmlReader::parse(source);
    } else if (rodHandler) {
        rodHandler->setFailure(QCoreApplication::translate("Reporter", "No report to read."));
    }
    if (rodHandler)
        rodHandler->setSourceName(QString());
    if (showProgress) {
        progress->progressEnd();
        rodHandler->setFile(nullptr);
        rodHandler->setProgress(nullptr);
    }
    return ok;
}

bool QAstXmlRodReader::parseFile(const QString& path, QAStudioInterface* progress)
{
    QString problem;
    const QFileInfo info(path);
    QFile file(path);
    if (path.isEmpty())
        problem = QCoreApplication::translate("Reporter", "No report file name given.");
    else if (!info.exists())
        problem = QCoreApplication::translate("Reporter", "The file %1 does not exist.").arg(path);
    else if (info.isDir())
        problem = QCoreApplication::translate("Reporter", "%1 is a directory, not a report file.")
                      .arg(path);
    else if (!file.open(QIODevice::ReadOnly))
        problem = QCoreApplication::translate("Reporter", "The file %1 cannot be read: %2.")
                      .arg(path, file.errorString());
    if (problem.isEmpty())
        return parse(&file, &file, progress);
    if (QAstXmlRodHandler* rodHandler = handler())
        rodHandler->setFailure(problem);
    return false;
}

std::unique_ptr<QAReporterDataTree> QAstXmlRodReader::takeTree()
{
    QAstXmlRodHandler* rodHandler = handler();
    return rodHandler ? rodHandler->takeTree() : nullptr;
}

std::unique_ptr<DDocument> QAstXmlRodReader::takeDocument()
{
    QAstXmlRodHandler* rodHandler = handler();
    return rodHandler ? rodHandler->takeDocument() : nullptr;
}

std::unique_ptr<QAReporterData> QAstXmlRodReader::takeRecord(const QString& fileName)
{
    auto record = std::make_unique<QAReporterData>();
    record->fileName = fileName;
    record->tree = takeTree().release();
    record->document = takeDocument();
    record->types = types();
    record->okCount = okTotal();
    record->koCount = koTotal();
    record->neCount = neTotal();
    return record;
}

QStringList QAstXmlRodReader::types() const
{
    QAstXmlRodHandler* rodHandler = handler();
    return rodHandler ? rodHandler->types() : QStringList();
}

qint64 QAstXmlRodReader::okTotal() const
{
    QAstXmlRodHandler* rodHandler = handler();
    return rodHandler ? rodHandler->okTotal() : 0;
}

qint64 QAstXmlRodReader::koTotal() const
{
    QAstXmlRodHandler* rodHandler = handler();
    return rodHandler ? rodHandler->koTotal() : 0;
}

qint64 QAstXmlRodReader::neTotal() const
{
    QAstXmlRodHandler* rodHandler = handler();
    return rodHandler ? rodHandler->neTotal() : -1;
}

QString QAstXmlRodReader::errorString() const
{
    if (QAstXmlRodHandler* rodHandler = handler())
        return rodHandler->errorString();
    return QCoreApplication::translate("Reporter", "The report reader has no handler.");
}
