#include "dpopuplink.h"

DPopupLink::DPopupLink(const QString& target) : DLink(PopupLink, target) {}
