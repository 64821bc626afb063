#ifndef DCELLGRID_H
#define DCELLGRID_H

#include <vector>

// Places the cells of a table on a grid, row after row: each cell takes the
// first column of its row that no span from a row above covers, and spans
// the extra columns and rows it asks for as far as the grid allows and no
// other cell's span is in the way. Spans
// are taken as read from a document, so any int, and clamped to the
// columns and rows left without ever computing 1 + span.
class DCellGrid
{
public:
    // The extra columns and rows a cell covers (0 for a plain cell).
    struct Span
    {
        int columns = 0;
        int rows = 0;
    };
    struct Placed
    {
        int row;   // the row of the table the cell belongs to
        int index; // the cell's index in its row
        int column;
        int rowSpan;
        int columnSpan;
    };

    // rows[r] holds the spans of row r's cells. Cells that find no column
    // below maxColumns are left out.
    DCellGrid(const std::vector<std::vector<Span>>& rows, int maxColumns);

    const std::vector<Placed>& cells() const { return m_cells; }
    // The columns the placed cells reach, at least 1.
    int columns() const { return m_columns; }
    bool hasSpans() const;

    // 1 + extra, within 1 and room; without overflow for any extra.
    static int clampedSpan(int extra, int room);

private:
    std::vector<Placed> m_cells;
    int m_columns = 1;
};

#endif
