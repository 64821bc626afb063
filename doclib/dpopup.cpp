#include "dpopup.h"

DPopup::DPopup() : DItemContainer(Popup) {}
