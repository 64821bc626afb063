#include "qareporterlinktarget.h"

#include "ditemcontainer.h"
#include "ditemwalk.h"
#include "qalinktarget.h"

#include <QDir>
#include <QFileInfo>

bool QAReporterLinkTarget::reportFile(const QALinkTarget& link, const QString& currentReport,
                                      QString* file)
{
    *file = link.file();
    if (file->isEmpty() || !QFileInfo(*file).isRelative())
        return true;
    if (currentReport.isEmpty())
        return false;
    *file = QFileInfo(currentReport).path() + QDir::separator() + *file;
    return true;
}

const DItem* QAReporterLinkTarget::placeInDocumentOf(const DItem* item, const QString& anchor)
{
    if (!item || anchor.isEmpty())
        return nullptr;
    const DItem* document = item;
    while (document->parent())
        document = document->parent();
    const DItem* place = nullptr;
    DItemWalk::walk(document, [&](const DItem* each) {
        if (!place && each->name() == anchor)
            place = each;
        return !place;
    });
    return place;
}

bool QAReporterLinkTarget::needsBase(const QALinkTarget& source)
{
    if (source.file().isEmpty())
        return true;
    const QFileInfo file(source.file());
    return file.isRelative() && !file.exists();
}

QString QAReporterLinkTarget::withBase(const QString& base, const QALinkTarget& source)
{
    return QALinkTarget::sourceReference(base + source.file(), source.line());
}
