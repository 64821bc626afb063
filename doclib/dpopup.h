#ifndef DPOPUP_H
#define DPOPUP_H

#include "ditemcontainer.h"

class DPopup : public DItemContainer
{
public:
    DPopup();
    DPopup(const DPopup& other) = default;
};

#endif
