#include "dheader.h"

DHeader::DHeader() : DItemContainer(Header) {}
