#include "dindex.h"

DIndex::DIndex() : DItemContainer(Index) {}
