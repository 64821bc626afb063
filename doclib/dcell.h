#ifndef DCELL_H
#define DCELL_H

#include "ditemcontainer.h"

#include <QtGlobal>

// A table cell; hspan and vspan count the extra columns and rows it covers,
// from 0 to MaxSpan: spans are clamped when set, so that every user can add
// to them without overflow.
class DCell : public DItemContainer
{
public:
    // A cell covers at most every column of a table (DTable::MaxColumns);
    // rows have the same bound.
    static constexpr int MaxSpan = 1023;

    explicit DCell(int hspan = 0, int vspan = 0);
    DCell(const DCell& other) = default;

    int hspan() const { return m_kindData[0]; }
    int vspan() const { return m_kindData[1]; }
    // The columns and rows the cell takes: 1 + its span, at most MaxSpan + 1.
    int columnSpan() const { return 1 + hspan(); }
    int rowSpan() const { return 1 + vspan(); }
    void setSpan(int hspan, int vspan);

protected:
    DCell(Kind kind, int hspan, int vspan);
    // A cell may be a subclass: deleted through DItem::destroy() only.
    ~DCell() = default;
    friend class DItem;

private:
    static quint16 boundSpan(int span) { return quint16(qBound(0, span, MaxSpan)); }
};

#endif
