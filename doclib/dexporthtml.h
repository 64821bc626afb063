#ifndef DEXPORTHTML_H
#define DEXPORTHTML_H

#include "dhtmlres.h"
#include "dhtmlstylesheet.h"

#include <QString>
#include <QStringList>

#include <memory>

class DDocument;
class DHTMLWriter;
class QAILogMonitor;
class QAIProgressMonitor;
class QTextStream;

// Writes documents as HTML pages into one directory: each document to the
// file named after its tag and the configured extension, all sharing one
// stylesheet written from the styles the documents use, with the pictures
// they show copied beside them. Nothing is ever written outside the
// directory, whatever names a document holds.
class DExportHtml
{
public:
    // cfgPath is read at once (a missing file leaves the defaults).
    DExportHtml(const QString& dir, const QString& cfgPath);
    ~DExportHtml();

    // The folder of the pictures pages refer to by name.
    void setPixmapDir(const QString& dir) { m_pixmapDir = dir; }
    const QString& pixmapDir() const { return m_pixmapDir; }

    // More folders where pictures are looked for, after the pixmap folder.
    void addImageFolder(const QString& dir) { m_imageFolders.append(dir); }
    const QStringList& imageFolders() const { return m_imageFolders; }

    // The writer used for the next pages; not owned. Null: a default one.
    void setHTMLWriter(DHTMLWriter* writer) { m_writer = writer; }

    // Writes the document's page (and the stylesheet, and the pictures it
    // shows) into the directory; errors go to log; progress may be null.
    // False when the page could not be written.
    bool generate(DDocument* document, QAIProgressMonitor* progress, QAILogMonitor* log);

    // The name, inside the directory, of the page for a document tag: the
    // tag with characters that cannot be in a file name replaced, never
    // empty, ".", ".." nor longer than a file name may be, followed by ext.
    static QString pageFileName(const QString& tag, const QString& ext);

    const DHTMLRes& config() const { return m_config; }
    const QString& directory() const { return m_dir; }

private:
    bool writePage(DDocument* document, DHTMLWriter* writer, const QString& path,
                   QAILogMonitor* log);
    void writeHead(QTextStream& out, DDocument* document) const;
    bool writeStyleSheet(QAILogMonitor* log) const;
    void collectStyles(DDocument* document);
    QString styleSheetFileName() const;

    QString m_dir;
    QStringList m_imageFolders;
    DHtmlStyleSheet m_styles;
    std::unique_ptr<DHTMLWriter> m_defaultWriter;
    QString m_pixmapDir;
    DHTMLRes m_config;
    DHTMLWriter* m_writer = nullptr;
};

#endif
