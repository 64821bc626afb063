#include "dlist.h"

DList::DList() : DItemContainer(List) {}
