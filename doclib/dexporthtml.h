#ifndef DEXPORTHTML_H
#define DEXPORTHTML_H

#include "dhtmlres.h"

#include <QString>

class DDocument;
class DHTMLWriter;
class QAILogMonitor;
class QAIProgressMonitor;

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
    QString m_dir;
    QString m_pixmapDir;
    DHTMLRes m_config;
    DHTMLWriter* m_writer = nullptr;
};

#endif
