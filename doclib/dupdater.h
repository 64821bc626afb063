#ifndef DUPDATER_H
#define DUPDATER_H

#include "diterator.h"

// Brings a document built or copied item by item up to date: every child
// points to its container, and every table has one relative width per
// column, the columns counted from its widest row.
class DUpdater : public DIterator
{
public:
    DUpdater();

    void doItemChildren(DItemContainer* container) override;
    void doTable(DTable* table) override;

    // Columns of the table's widest row, spans included.
    static int columnCount(const DTable* table);
};

#endif
