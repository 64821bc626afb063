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
    DItem* clone() const override;

    int hspan() const { return m_hspan; }
    int vspan() const { return m_vspan; }
    // The columns and rows the cell takes: 1 + its span, at most MaxSpan + 1.
    int columnSpan() const { return 1 + m_hspan; }
    int rowSpan() const { return 1 + m_vspan; }
    void setSpan(int hspan, int vspan);

protected:
    DCell(Kind kind, int hspan, int vspan);

private:
    static int boundSpan(int span) { return qBound(0, span, MaxSpan); }

    int m_hspan;
    int m_vspan;
};

#endif
