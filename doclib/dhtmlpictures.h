#ifndef DHTMLPICTURES_H
#define DHTMLPICTURES_H

#include <QHash>
#include <QList>
#include <QStringList>

class QAILogMonitor;

// The pictures a page shows: finds each named picture in the image
// folders, gives its copy a safe file name in the export directory and
// copies it there.
class DHtmlPictures
{
public:
    struct Picture
    {
        QString source;   // the name the document gives
        QString path;     // the file found
        QString fileName; // of the copy, directly in the export directory
    };

    void clear();
    // The file name the page refers to for source, or empty when none of
    // folders holds it (the source is then listed as missing).
    QString add(const QString& source, const QStringList& folders);

    const QList<Picture>& found() const { return m_found; }
    const QStringList& missing() const { return m_missing; }

    // Copies every found picture into dir; false, with a message naming the
    // file in log, when one could not be copied.
    bool copyTo(const QString& dir, QAILogMonitor* log) const;

private:
    static QString locate(const QString& source, const QStringList& folders);
    static bool copyFile(const QString& from, const QString& to, QString& error);

    QList<Picture> m_found;
    QStringList m_missing;
    QHash<QString, QString> m_fileNames;
};

#endif
