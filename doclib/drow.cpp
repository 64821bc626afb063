#include "drow.h"

DRow::DRow() : DItemContainer(Row) {}
