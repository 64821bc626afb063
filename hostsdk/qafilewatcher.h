#ifndef QAFILEWATCHER_H
#define QAFILEWATCHER_H

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QStringList>

class QFileSystemWatcher;
class QTimer;

// Watches files and tells once per burst of changes that one of them
// changed: fileChanged(path) comes when the file has stayed unchanged for
// the delay after its last change. A file that an editor replaces (written
// elsewhere and renamed over it) or removes and writes again is watched
// again as soon as it exists; a file that stays removed is reported once and
// watched again when it comes back.
class QAFileWatcher : public QObject
{
    Q_OBJECT

public:
    explicit QAFileWatcher(QObject* parent = nullptr);
    ~QAFileWatcher() override;

    // Watches exactly these files from now on.
    void setFiles(const QStringList& paths);
    QStringList files() const { return m_paths; }
    void clear();
    void setDelay(int milliseconds);
    int delay() const { return m_delay; }
    // Whether a change seen is still held back, waiting for its file to
    // settle before it is reported.
    bool hasPendingChanges() const { return !m_pending.isEmpty(); }

signals:
    void fileChanged(const QString& path);

private:
    // What the directory listing says about a file, to tell whether a
    // directory event concerns it.
    struct Stamp
    {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        QDateTime metadataChanged;
        bool operator==(const Stamp& other) const;
        bool operator!=(const Stamp& other) const { return !(*this == other); }
    };
    static Stamp stampOf(const QString& path);

    void onChanged(const QString& path);
    void onDirectoryChanged(const QString& directory);
    void settle(const QString& path);
    void rewatch(const QString& path);
    void schedule(const QString& path);

    QFileSystemWatcher* m_watcher;
    QStringList m_paths;
    QHash<QString, QTimer*> m_pending;
    QHash<QString, Stamp> m_stamps;
    // Directory (absolute) -> the watched files in it.
    QHash<QString, QStringList> m_directories;
    int m_delay = 300;
};

#endif
