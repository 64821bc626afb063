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

int DUpdater::columnCount(const DTable* table)
{
    int columns = 0;
    for (const DItem* row = table->first(); row; row = row->next()) {
        int cells = 0;
        for (const DItem* cell = row->toContainer() ? row->toContainer()->first() : nullptr; cell;
             cell = cell->next()) {
            if (cell->kind() == DItem::Cell || cell->kind() == DItem::CellText)
                cells += 1 + static_cast<const DCell*>(cell)->hspan();
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
    const int columns = qMax<int>(columnCount(table), table->widths().size());
    QList<double> widths = table->widths();
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
