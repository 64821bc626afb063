#ifndef DITEMTRAITS_H
#define DITEMTRAITS_H

#include "ditem.h"

#include <QtGlobal>

class QFont;

// What the library needs to know of each item kind, in one table, so that
// the view, the layout, the reader and the writers agree.
struct DItemTraits
{
    bool block;      // starts a text block of its own (else it flows inline)
    bool grouping;   // only groups what it holds: document, section, summary, index
    bool holdsText;  // carries text of its own, read from the markup
    bool link;       // the reader can click it: it leads to a target
    bool chartPart;  // only meaningful inside a graphic
    bool endsLine;   // in plain text, a line break follows it
    bool cellLike;   // in plain text, a tab separates it from the next cell
    qreal fontScale; // of the base font (titles scale by level instead)

    static const DItemTraits& of(DItem::Kind kind);
    static const DItemTraits& of(const DItem* item) { return of(item->kind()); }

    // The size of a title's font against the base font, by level 1 to 6.
    static qreal titleScale(int level);
    // Room above a title that starts a block, growing with its rank.
    static int titleTopMargin(int level, const QFont& font);
    // The target of a link kind; empty for the other kinds.
    static QString linkTarget(const DItem* item);
};

#endif
