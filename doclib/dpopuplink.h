#ifndef DPOPUPLINK_H
#define DPOPUPLINK_H

#include "dlink.h"

// A link that opens the popup following it in place.
class DPopupLink : public DLink
{
public:
    explicit DPopupLink(const QString& target = QString());
    DPopupLink(const DPopupLink& other) = default;
};

#endif
