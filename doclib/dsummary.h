#ifndef DSUMMARY_H
#define DSUMMARY_H

#include "ditemcontainer.h"

class DSummary : public DItemContainer
{
public:
    DSummary();
    DSummary(const DSummary& other) = default;
};

#endif
