#ifndef DTITLE_H
#define DTITLE_H

#include "ditemcontainer.h"

// A heading of level 1 (largest) to 6.
class DTitle : public DItemContainer
{
public:
    explicit DTitle(int level = 1);
    DTitle(const DTitle& other) = default;
    DItem* clone() const override;

    int level() const { return m_level; }
    void setLevel(int level);

private:
    int m_level;
};

#endif
