#ifndef DHTMLWRITER_H
#define DHTMLWRITER_H

#include "diterator.h"

#include <QStringList>

class DHTMLRes;
class QTextStream;

// Writes the items of a document as HTML5 to a text stream, one visit per
// item kind. A document is written as the body of one page; DExportHtml
// opens the page, sets the stream and the configuration, and closes it.
// Every text and attribute it writes is escaped. Subclasses change how
// some kinds are written, links in particular: they write an opening tag,
// enter the link's children with doItemChildren and name the text that
// follows the children with closeChildrenWith.
class DHTMLWriter : public DIterator
{
public:
    // Files: pages are written to files by DExportHtml (onFile() is true).
    enum Mode { Stream = 0, Files = 1 };

    DHTMLWriter();
    ~DHTMLWriter() override;

    void setMode(Mode mode) { m_mode = mode; }
    Mode mode() const { return m_mode; }
    bool onFile() const { return m_mode == Files; }

    // The stream written to; not owned.
    void setStream(QTextStream* stream) { m_stream = stream; }
    QTextStream* stream() const { return m_stream; }

    // The export's settings; not owned. Never null once an export runs.
    void setConfig(const DHTMLRes* config) { m_config = config; }
    const DHTMLRes* config() const { return m_config; }

    // Pictures that image items name, looked for in these folders in
    // order, are copied next to the pages (DExportHtml fills this).
    void setImageFolders(const QStringList& folders) { m_imageFolders = folders; }
    const QStringList& imageFolders() const { return m_imageFolders; }

    // Writes text as HTML text / as the value of a double-quoted attribute.
    static QString escapeText(const QString& text);
    static QString escapeAttribute(const QString& text);

    void doLink(DLink* link) override;
    // Writes a link item: by default an <a> whose href is the target when
    // the target is a web address, a relative file or an anchor, and no
    // href otherwise (scripts and other schemes are never written).
    virtual void doLink(DItem* item);

    // After doItemChildren(container), writes html once the container's
    // children have all been written (also when it has none).
    void closeChildrenWith(const QString& html);

protected:
    void leaveItemChildren(DItemContainer* container) override;
    QTextStream& out() { return *m_stream; }

private:
    Mode m_mode = Stream;
    QTextStream* m_stream = nullptr;
    const DHTMLRes* m_config = nullptr;
    QStringList m_imageFolders;
    QList<QString> m_closings;
};

#endif
