#ifndef DTABLE_H
#define DTABLE_H

#include "ditemcontainer.h"

#include <QList>

// A table of rows. Frame: 0 none, 1 outline, 2 grid. Column widths are
// relative (they need not add up to 1).
class DTable : public DItemContainer
{
public:
    enum Frame { NoFrame = 0, Outline = 1, Grid = 2 };
    // The most columns a table has, whatever its cells' spans claim: the
    // per-column arrays (widths, layout grids) are sized by this at most.
    static constexpr int MaxColumns = 1024;

    explicit DTable(int frame = Grid);
    DTable(const DTable& other) = default;

    int frame() const { return m_frame; }
    void setFrame(int frame) { m_frame = frame; }
    const QList<double>& widths() const { return m_widths; }
    void setWidths(const QList<double>& widths) { m_widths = widths; }

private:
    QList<double> m_widths;
    int m_frame;
};

#endif
