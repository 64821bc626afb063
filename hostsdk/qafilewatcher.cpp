#include "qafilewatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

bool QAFileWatcher::Stamp::operator==(const Stamp& other) const
{
    return exists == other.exists && size == other.size && modified == other.modified &&
           metadataChanged == other.metadataChanged;
}

QAFileWatcher::Stamp QAFileWatcher::stampOf(const QString& path)
{
    const QFileInfo info(path);
    Stamp stamp;
    stamp.exists = info.exists();
    if (stamp.exists) {
        stamp.size = info.size();
        stamp.modified = info.lastModified();
        stamp.metadataChanged = info.metadataChangeTime();
    }
    return stamp;
}

QAFileWatcher::QAFileWatcher(QObject* parent)
    : QObject(parent), m_watcher(new QFileSystemWatcher(this))
{
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &QAFileWatcher::onChanged);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &QAFileWatcher::onDirectoryChanged);
}

QAFileWatcher::~QAFileWatcher() = default;

void QAFileWatcher::setFiles(const QStringList& paths)
{
    QStringList unique = paths;
    unique.removeDuplicates();
    unique.removeAll(QString());

    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (unique.contains(it.key())) {
            ++it;
        } else {
            delete it.value();
            it = m_pending.erase(it);
        }
    }
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);

    QHash<QString, Stamp> stamps;
    m_directories.clear();
    m_paths = unique;
    for (const QString& path : std::as_const(m_paths)) {
        stamps.insert(path, m_stamps.contains(path) ? m_stamps.value(path) : stampOf(path));
        m_directories[QFileInfo(path).absolutePath()].append(path);
        rewatch(path);
    }
    m_stamps = stamps;
}

void QAFileWatcher::clear()
{
    setFiles(QStringList());
}

void QAFileWatcher::setDelay(int milliseconds)
{
    m_delay = qMax(0, milliseconds);
    for (QTimer* timer : std::as_const(m_pending))
        timer->setInterval(m_delay);
}

// QFileSystemWatcher drops a file that is removed or renamed over; watching
// it again by path follows the file now there. Its directory is watched too,
// so that a file coming back is seen.
void QAFileWatcher::rewatch(const QString& path)
{
    const QString directory = QFileInfo(path).absolutePath();
    if (!m_watcher->directories().contains(directory) && QFileInfo(directory).isDir())
        m_watcher->addPath(directory);
    if (!QFileInfo::exists(path))
        return;
    if (m_watcher->files().contains(path))
        m_watcher->removePath(path);
    m_watcher->addPath(path);
}

void QAFileWatcher::onChanged(const QString& path)
{
    if (!m_paths.contains(path))
        return;
    if (!m_watcher->files().contains(path))
        rewatch(path);
    m_stamps.insert(path, stampOf(path));
    schedule(path);
}

// A directory event says only that something in it changed: a file of ours
// counts as changed when it appeared, vanished or is another file now.
void QAFileWatcher::onDirectoryChanged(const QString& directory)
{
    const QStringList paths = m_directories.value(directory);
    for (const QString& path : paths) {
        const Stamp stamp = stampOf(path);
        if (stamp == m_stamps.value(path))
            continue;
        m_stamps.insert(path, stamp);
        rewatch(path);
        schedule(path);
    }
    // A directory that vanished is dropped by QFileSystemWatcher; it is
    // watched again when one of its files is reported.
}

void QAFileWatcher::schedule(const QString& path)
{
    QTimer* timer = m_pending.value(path);
    if (!timer) {
        timer = new QTimer(this);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, path] { settle(path); });
        m_pending.insert(path, timer);
    }
    timer->start(m_delay);
}

void QAFileWatcher::settle(const QString& path)
{
    QTimer* timer = m_pending.take(path);
    if (timer)
        timer->deleteLater();
    if (!m_paths.contains(path))
        return;
    rewatch(path);
    m_stamps.insert(path, stampOf(path));
    emit fileChanged(path);
}
