#include "dparagraph.h"

DParagraph::DParagraph() : DItemContainer(Paragraph) {}
