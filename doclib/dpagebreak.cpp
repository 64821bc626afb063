#include "dpagebreak.h"

DPageBreak::DPageBreak() : DItem(PageBreak) {}
