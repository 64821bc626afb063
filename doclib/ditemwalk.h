#ifndef DITEMWALK_H
#define DITEMWALK_H

#include "ditem.h"
#include "ditemcontainer.h"

#include <type_traits>

// Walks the items of a subtree in document order without recursion, so
// that no document, however deep, can overflow the stack. enter(item) runs
// before the item's children; when it returns bool, false skips them.
// leave(item) runs once the item and everything under it were visited.
// The walk climbs back through parent(), so the items' parents must be set
// (DUpdater does it); enter may set the parents of an item's children.
// Item is DItem or const DItem.
namespace DItemWalk {

struct Nothing
{
    template <typename Item> void operator()(Item*) const {}
};

template <typename Item, typename Enter, typename Leave = Nothing>
void walk(Item* root, Enter&& enter, Leave&& leave = Leave())
{
    Item* item = root;
    while (item) {
        bool descend = true;
        if constexpr (std::is_same_v<decltype(enter(item)), bool>)
            descend = enter(item);
        else
            enter(item);
        Item* child = descend && item->isContainer() ? item->toContainer()->first() : nullptr;
        if (child) {
            item = child;
            continue;
        }
        // Leave the finished item and every ancestor it was the last child of.
        while (true) {
            leave(item);
            if (item == root)
                return;
            if (item->next()) {
                item = item->next();
                break;
            }
            item = item->parent();
        }
    }
}

// A block of the view: root with its subtree, or when rows > 0 the rows
// siblings from root on, each with its subtree.
template <typename Item, typename Enter, typename Leave = Nothing>
void walkBlock(Item* root, int rows, Enter&& enter, Leave&& leave = Leave())
{
    if (rows <= 0) {
        if (root)
            walk(root, enter, leave);
        return;
    }
    int count = 0;
    for (Item* row = root; row && count < rows; row = row->next(), ++count)
        walk(row, enter, leave);
}

} // namespace DItemWalk

#endif
