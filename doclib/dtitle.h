#ifndef DTITLE_H
#define DTITLE_H

#include "ditemcontainer.h"

// A heading of level 1 (largest) to 6.
class DTitle : public DItemContainer
{
public:
    explicit DTitle(int level = 1);
    DTitle(const DTitle& other) = default;

    int level() const { return m_kindData[0]; }
    void setLevel(int level);
};

#endif
