#include "xrdrecentfiles.h"

#include <QFileInfo>

XrdRecentFiles::XrdRecentFiles(const QStringList& files)
{
    for (auto it = files.crbegin(); it != files.crend(); ++it)
        add(*it);
}

void XrdRecentFiles::add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    while (m_files.size() > maximum)
        m_files.removeLast();
}

void XrdRecentFiles::remove(const QString& path)
{
    m_files.removeAll(QFileInfo(path).absoluteFilePath());
}
