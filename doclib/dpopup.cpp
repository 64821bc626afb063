#include "dpopup.h"

DPopup::DPopup() : DItemContainer(Popup) {}

DItem* DPopup::clone() const
{
    return new DPopup(*this);
}
