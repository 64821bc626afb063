#ifndef DPARAGRAPH_H
#define DPARAGRAPH_H

#include "ditemcontainer.h"

class DParagraph : public DItemContainer
{
public:
    DParagraph();
    DParagraph(const DParagraph& other) = default;
};

#endif
