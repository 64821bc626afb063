#ifndef DPAGEBREAK_H
#define DPAGEBREAK_H

#include "ditem.h"

// Starts a new page when the document is printed.
class DPageBreak : public DItem
{
public:
    DPageBreak();
    DPageBreak(const DPageBreak& other) = default;
};

#endif
