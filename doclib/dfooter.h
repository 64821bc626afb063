#ifndef DFOOTER_H
#define DFOOTER_H

#include "ditemcontainer.h"

class DFooter : public DItemContainer
{
public:
    DFooter();
    DFooter(const DFooter& other) = default;
};

#endif
