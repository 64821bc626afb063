#include "dsummary.h"

DSummary::DSummary() : DItemContainer(Summary) {}
