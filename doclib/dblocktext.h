#ifndef DBLOCKTEXT_H
#define DBLOCKTEXT_H

#include <QString>
#include <QStringView>

class DItem;

// The text of items as the reader sees it, without any layout.
namespace DBlockText {

// The text of an item as shown and as search matches it; null for items
// without text of their own.
const QString* searchableText(const DItem* item);
// White space runs as one space, as the view shows text.
QString collapse(QStringView text, bool dropLeading);
// Whether collapse() turns ch into (part of) one space: white space other
// than a no-break space and a line separator.
bool collapses(QChar ch);
// The length of collapse(raw.left(rawOffset), dropLeading).
int collapsedOffset(QStringView raw, int rawOffset, bool dropLeading);
// Plain text of a block (root, or rows rows from root on): cells apart by
// tabs, lines by line feeds.
QString plainText(const DItem* root, int rows);

} // namespace DBlockText

#endif
