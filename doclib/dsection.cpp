#include "dsection.h"

DSection::DSection() : DItemContainer(Section) {}
