#include "dtable.h"

DTable::DTable(int frame) : DItemContainer(Table), m_frame(frame) {}
