#ifndef DCELL_H
#define DCELL_H

#include "ditemcontainer.h"

// A table cell; hspan and vspan count the extra columns and rows it covers.
class DCell : public DItemContainer
{
public:
    explicit DCell(int hspan = 0, int vspan = 0);
    DCell(const DCell& other) = default;
    DItem* clone() const override;

    int hspan() const { return m_hspan; }
    int vspan() const { return m_vspan; }
    void setSpan(int hspan, int vspan);

protected:
    DCell(Kind kind, int hspan, int vspan);

private:
    int m_hspan;
    int m_vspan;
};

#endif
