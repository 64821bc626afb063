#ifndef DHEADER_H
#define DHEADER_H

#include "ditemcontainer.h"

class DHeader : public DItemContainer
{
public:
    DHeader();
    DHeader(const DHeader& other) = default;
};

#endif
