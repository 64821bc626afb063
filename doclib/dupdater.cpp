#include "dupdater.h"

#include "ditems.h"

#include <QtGlobal>

DUpdater::DUpdater() = default;

void DUpdater::doItemChildren(DItemContainer* container)
{
    for (DItem* child = container->first(); child; child = child->next())
        child->setParent(container);
    DIterator::doItemChildren(container);
}

static_assert(DCell::MaxSpan < DTable::MaxColumns,
              "a column count below MaxColumns plus one span must not overflow");

// Each row's count stops at DTable::MaxColumns, so that the sum cannot
// overflow and the widths below stay small whatever the spans claim.
int DUpdater::columnCount(const DTable* table)
{
    int columns = 0;
    for (const DItem* row = table->first(); row; row = row->next()) {
        int cells = 0;
        for (const DItem* cell = row->toContainer() ? row->toContainer()->first() : nullptr;
             cell && cells < DTable::MaxColumns; cell = cell->next()) {
            if (cell->kind() == DItem::Cell || cell->kind() == DItem::CellText)
                cells =
                    qMin(DTable::MaxColumns, cells + static_cast<const DCell*>(cell)->columnSpan());
        }
        columns = qMax(columns, cells);
    }
    return columns;
}

// The widths come from the rows themselves, so they need not wait for the
// walk to reach them.
void DUpdater::doTable(DTable* table)
{
    doItemChildren(table);
    QList<double> widths = table->widths();
    if (widths.size() > DTable::MaxColumns)
        widths.resize(DTable::MaxColumns);
    const int columns = qMax(columnCount(table), int(widths.size()));
    double given = 0.0;
    for (double& width : widths) {
        width = qIsFinite(width) && width > 0.0 ? width : 0.0;
        given += width;
    }
    const double fill =
        widths.isEmpty() || given <= 0.0 ? 1.0 : given / static_cast<double>(widths.size());
    for (double& width : widths) {
        if (width <= 0.0)
            width = fill;
    }
    while (widths.size() < columns)
        widths.append(fill);
    table->setWidths(widths);
}
