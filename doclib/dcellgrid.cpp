#include "dcellgrid.h"

#include <algorithm>

int DCellGrid::clampedSpan(int extra, int room)
{
    if (room <= 1 || extra <= 0)
        return 1;
    return extra >= room - 1 ? room : extra + 1;
}

DCellGrid::DCellGrid(const std::vector<std::vector<Span>>& rows, int maxColumns)
{
    const int rowCount = int(rows.size());
    // taken[r][c]: a cell of a row at or above r covers column c of row r.
    std::vector<std::vector<char>> taken(rows.size());
    for (int r = 0; r < rowCount; ++r) {
        const std::vector<Span>& spans = rows[size_t(r)];
        int column = 0;
        for (int index = 0; index < int(spans.size()); ++index) {
            const std::vector<char>& line = taken[size_t(r)];
            while (column < int(line.size()) && line[size_t(column)])
                ++column;
            if (column >= maxColumns)
                break;
            // A span from above further right ends the room of this cell:
            // spans must not overlap.
            const auto nextTaken = std::find(
                line.begin() + std::min<size_t>(line.size(), column + 1), line.end(), char(1));
            const int room = nextTaken == line.end() ? maxColumns - column
                                                     : int(nextTaken - line.begin()) - column;
            const Span& span = spans[size_t(index)];
            const int columnSpan = clampedSpan(span.columns, room);
            const int rowSpan = clampedSpan(span.rows, rowCount - r);
            for (int rr = r; rr < r + rowSpan; ++rr) {
                std::vector<char>& cells = taken[size_t(rr)];
                if (int(cells.size()) < column + columnSpan)
                    cells.resize(size_t(column + columnSpan), 0);
                std::fill(cells.begin() + column, cells.begin() + column + columnSpan, 1);
            }
            m_cells.push_back({r, index, column, rowSpan, columnSpan});
            column += columnSpan;
            m_columns = std::max(m_columns, column);
        }
    }
}

bool DCellGrid::hasSpans() const
{
    return std::any_of(m_cells.begin(), m_cells.end(),
                       [](const Placed& p) { return p.rowSpan > 1 || p.columnSpan > 1; });
}
