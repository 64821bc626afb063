#ifndef DHTMLRES_H
#define DHTMLRES_H

#include <QString>

// The settings of an HTML export, read from a small "key = value" file
// (dhtml.cfg): the extension of the pages, the name of the shared
// stylesheet, the text written before and after each page's body and the
// encoding named in the pages. Unknown keys are ignored; a missing or
// unreadable file leaves the defaults (".html", "report.css", no header or
// footer, UTF-8) and says why in errorString().
class DHTMLRes
{
public:
    DHTMLRes();
    // Reads path; false when it could not be read (the defaults stay).
    bool load(const QString& path);

    // Dot included, for example ".html".
    const QString& fileExtension() const { return m_fileExtension; }
    const QString& styleSheetName() const { return m_styleSheetName; }
    const QString& pageHeader() const { return m_pageHeader; }
    const QString& pageFooter() const { return m_pageFooter; }
    const QString& encoding() const { return m_encoding; }
    const QString& errorString() const { return m_errorString; }

private:
    QString m_fileExtension;
    QString m_styleSheetName;
    QString m_pageHeader;
    QString m_pageFooter;
    QString m_encoding;
    QString m_errorString;
};

#endif
