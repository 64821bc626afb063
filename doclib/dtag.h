#ifndef DTAG_H
#define DTAG_H

#include "ditem.h"

// An anchor; its name (which may be null) is the place it marks.
class DTag : public DItem
{
public:
    explicit DTag(const QString& name = QString());
    DTag(const DTag& other) = default;
};

#endif
