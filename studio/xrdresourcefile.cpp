#include "xrdresourcefile.h"

#include "qaresgroup.h"
#include "qaresproducer.h"
#include "qaresreader.h"
#include "qareswriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

XrdResourceFile::XrdResourceFile(const QString& path) : m_path(path) {}

QString XrdResourceFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/resources.xml");
}

const char* XrdResourceFile::rootTag()
{
    return "xrdview";
}

std::unique_ptr<QAResGroup> XrdResourceFile::read()
{
    m_error.clear();
    if (!QFileInfo::exists(m_path))
        return nullptr;
    QAResReader reader;
    std::unique_ptr<QARes> first(reader.readFile(m_path));
    if (reader.hasError())
        m_error = reader.errorString();
    // Anything beside the root group is not ours: dropped with the chain.
    if (!first || !first->isTag(rootTag()) || !first->toResGroup())
        return nullptr;
    first->takeNext();
    return std::unique_ptr<QAResGroup>(static_cast<QAResGroup*>(first.release()));
}

bool XrdResourceFile::write(const QList<QAResProducer*>& producers)
{
    QAResGroup root(rootTag());
    for (QAResProducer* producer : producers) {
        if (QARes* produced = producer->produce("REPORTER"))
            root.appendChild(produced);
    }
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        m_error = QStringLiteral("cannot create the folder of %1").arg(m_path);
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    QAResWriter writer;
    if (!writer.write(&root, &file)) {
        m_error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    m_error.clear();
    return true;
}
