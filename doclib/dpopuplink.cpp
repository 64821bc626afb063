#include "dpopuplink.h"

DPopupLink::DPopupLink(const QString& target) : DLink(PopupLink, target) {}

DItem* DPopupLink::clone() const
{
    return new DPopupLink(*this);
}
