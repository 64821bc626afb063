#ifndef XRDRECENTFILES_H
#define XRDRECENTFILES_H

#include <QStringList>

// The File > Open Recent list: most recent first, each file once, at most
// ten files.
class XrdRecentFiles
{
public:
    static constexpr int maximum = 10;

    explicit XrdRecentFiles(const QStringList& files = QStringList());

    // Moves path (made absolute) to the front; the oldest entry beyond the
    // maximum goes.
    void add(const QString& path);
    void remove(const QString& path);
    QStringList files() const { return m_files; }

private:
    QStringList m_files;
};

#endif
