#ifndef IMPORTERSAMPLES_H
#define IMPORTERSAMPLES_H

#include "ddocument.h"
#include "ditems.h"
#include "documentitems.h"
#include "dstyle.h"
#include "qareporterdata.h"
#include "qareporterdatatree.h"
#include "qareporternode.h"

#include <QStringList>

// What the importer suites share: the viewer's style names as plain styles
// (their names are what the tests check) and ways to look into a record.

inline QList<DStyle*> namedStyles()
{
    QList<DStyle*> styles;
    const QStringList names{"Normal", "Normal Failed", "Normal Passed", "Title0",  "Array Title",
                            "Array",  "Array Failed",  "Array Passed",  "Warning", "Link"};
    for (const QString& name : names)
        styles.append(new DStyle(name));
    for (int level = 1; level <= 6; ++level) {
        const QString title = QStringLiteral("Title%1").arg(level);
        for (const char* suffix : {"", " Failed", " Passed"})
            styles.append(new DStyle(title + QLatin1String(suffix)));
    }
    return styles;
}

// The record's tree, one node a line: two spaces per depth, then
// "type name state".
inline QStringList treeLines(QAReporterData* record)
{
    QStringList lines;
    QAReporterDataTree* tree = record->tree;
    tree->iterator()->toRoot();
    while (QAReporterNode* node = tree->next(PreOrder)) {
        lines.append(QString(2 * (tree->iterator()->depth() - 1), QLatin1Char(' ')) + node->type +
                     QLatin1Char(' ') + node->name + QLatin1Char(' ') + node->state);
    }
    return lines;
}

inline QString textOf(const DItem* item)
{
    QString text;
    for (DItem* part : itemsOf(const_cast<DItem*>(item))) {
        if (part->kind() == DItem::Text)
            text += static_cast<DText*>(part)->text();
        else if (part->kind() == DItem::CellText)
            text += static_cast<DCellText*>(part)->text() + QLatin1Char('|');
    }
    return text;
}

// The items of one kind in the document, in order.
inline QList<DItem*> itemsOfKind(DItem* root, DItem::Kind kind)
{
    QList<DItem*> found;
    for (DItem* item : itemsOf(root)) {
        if (item->kind() == kind)
            found.append(item);
    }
    return found;
}

// The title whose text is text, or null.
inline DItem* titleNamed(DItem* root, const QString& text)
{
    for (DItem* item : itemsOfKind(root, DItem::Title)) {
        if (textOf(item) == text)
            return item;
    }
    return nullptr;
}

inline QString styleName(const DItem* item)
{
    return item && item->style() ? item->style()->name() : QString();
}

// The targets of the source links ("<file> line <N>"), in order.
inline QStringList linkTargets(DItem* root)
{
    QStringList targets;
    for (DItem* item : itemsOfKind(root, DItem::Link)) {
        const QString& target = static_cast<DLink*>(item)->target();
        if (!target.startsWith(QLatin1String("xrdlink://#")))
            targets.append(target);
    }
    return targets;
}

// The texts of the paragraphs of one style.
inline QStringList paragraphs(DItem* root, const QString& style)
{
    QStringList texts;
    for (DItem* item : itemsOfKind(root, DItem::Paragraph)) {
        if (styleName(item) == style)
            texts.append(textOf(item));
    }
    return texts;
}

#endif
