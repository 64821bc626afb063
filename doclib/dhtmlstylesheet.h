#ifndef DHTMLSTYLESHEET_H
#define DHTMLSTYLESHEET_H

#include <QMap>
#include <QString>

class DStyle;
class QTextStream;

// The stylesheet exported pages share: the default look of every item kind
// (as the report view draws it) and one rule per style the documents use,
// under a class name derived from the style's name.
class DHtmlStyleSheet
{
public:
    // The CSS class of a style name: "s-" then letters and digits as they
    // are, a space as "_" and any other character as "-" + its hex code +
    // "-", so that two style names never share a class.
    static QString className(const QString& styleName);

    // Remembers the style's look; a later style of the same name replaces it.
    void add(const DStyle* style);
    int styleCount() const { return int(m_rules.size()); }

    void write(QTextStream& out) const;

private:
    static QString rule(const DStyle& style);
    static QString cssString(const QString& text);

    QMap<QString, QString> m_rules;
};

#endif
