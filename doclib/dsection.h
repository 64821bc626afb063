#ifndef DSECTION_H
#define DSECTION_H

#include "ditemcontainer.h"

class DSection : public DItemContainer
{
public:
    DSection();
    DSection(const DSection& other) = default;
};

#endif
