#ifndef DROW_H
#define DROW_H

#include "ditemcontainer.h"

class DRow : public DItemContainer
{
public:
    DRow();
    DRow(const DRow& other) = default;
};

#endif
