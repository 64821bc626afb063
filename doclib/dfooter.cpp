#include "dfooter.h"

DFooter::DFooter() : DItemContainer(Footer) {}
