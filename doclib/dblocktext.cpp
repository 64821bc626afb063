#include "dblocktext.h"

#include "ditems.h"
#include "ditemtraits.h"
#include "ditemwalk.h"

namespace {

// What separates an item from what follows it in plain text.
QChar separatorAfter(const DItem* item)
{
    const DItemTraits& traits = DItemTraits::of(item);
    if (traits.cellLike)
        return item->next() ? QLatin1Char('\t') : QChar();
    if (traits.endsLine || (item->parent() && item->parent()->kind() == DItem::List))
        return QLatin1Char('\n');
    return QChar();
}

} // namespace

namespace DBlockText {

const QString* searchableText(const DItem* item)
{
    switch (item->kind()) {
    case DItem::Text:
        return &static_cast<const DText*>(item)->text();
    case DItem::CellText:
        return &static_cast<const DCellText*>(item)->text();
    case DItem::SEntry: {
        auto entry = static_cast<const DSEntry*>(item);
        return entry->text().isEmpty() ? &entry->target() : &entry->text();
    }
    case DItem::IEntry: {
        auto entry = static_cast<const DIEntry*>(item);
        return entry->text().isEmpty() ? &entry->target() : &entry->text();
    }
    case DItem::TagPointer:
        return &static_cast<const DTagPointer*>(item)->target();
    default:
        return nullptr;
    }
}

// A no-break space and a line separator (a forced line break) are kept as
// they are: monospace blocks use them for indentation and lines.
bool collapses(QChar ch)
{
    return ch.isSpace() && ch.unicode() != 0x00A0 && ch != QChar::LineSeparator;
}

QString collapse(QStringView text, bool dropLeading)
{
    QString out;
    out.reserve(text.size());
    bool inSpace = false;
    bool leading = true;
    for (QChar ch : text) {
        if (collapses(ch)) {
            if (!inSpace && !(leading && dropLeading))
                out.append(QLatin1Char(' '));
            inSpace = true;
        } else {
            out.append(ch);
            inSpace = false;
            leading = false;
        }
    }
    return out;
}

int collapsedOffset(QStringView raw, int rawOffset, bool dropLeading)
{
    int count = 0;
    bool inSpace = false;
    bool leading = true;
    const int end = qBound(0, rawOffset, int(raw.size()));
    for (int i = 0; i < end; ++i) {
        if (collapses(raw[i])) {
            if (!inSpace && !(leading && dropLeading))
                ++count;
            inSpace = true;
        } else {
            ++count;
            inSpace = false;
            leading = false;
        }
    }
    return count;
}

QString plainText(const DItem* root, int rows)
{
    QString out;
    bool lastSpace = true;
    auto enter = [&](const DItem* item) {
        if (const QString* text = searchableText(item)) {
            const QString part = collapse(*text, lastSpace || out.endsWith(QLatin1Char('\n')));
            out += part;
            if (!part.isEmpty())
                lastSpace = part.endsWith(QLatin1Char(' '));
        }
    };
    auto leave = [&](const DItem* item) {
        const QChar separator = separatorAfter(item);
        if (!separator.isNull() && !out.endsWith(QLatin1Char('\n'))) {
            out += separator;
            lastSpace = true;
        }
    };
    DItemWalk::walkBlock(root, rows, enter, leave);
    while (out.endsWith(QLatin1Char('\n')) || out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    return out;
}

} // namespace DBlockText
