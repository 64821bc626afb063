#ifndef DHTMLFILENAME_H
#define DHTMLFILENAME_H

#include <QString>

// Turns any text (a document tag, a picture's name) into the name of a file
// that lies directly in the export directory: no separator, no control
// character, not hidden, never empty, "." nor "..", short enough for every
// file system. Ordinary names are kept as they are; a name that had to
// change gets a short hash of the original, so that two different names
// stay two different files. The same text always gives the same name.
class DHtmlFileName
{
public:
    // name + ext, both made safe; ext keeps its leading dot.
    static QString make(const QString& name, const QString& ext);
    // A file that names its own type (a picture, the stylesheet): the
    // extension is the last suffix of name, when it is short.
    static QString keepingExtension(const QString& name);
    // The extension made safe: a dot, then letters and digits (".html" when
    // nothing is left).
    static QString safeExtension(const QString& ext);

    // Before a file is written at path: a symbolic link there is removed,
    // so that the new file replaces the link instead of writing where it
    // points, which may be outside the directory.
    static void dropLink(const QString& path);

private:
    static QString build(const QString& name, const QString& ext, const QString& original,
                         bool changed);
    static bool isSafe(QChar ch);
    static QString hashOf(const QString& name);
};

#endif
