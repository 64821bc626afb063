#include "dparagraph.h"

DParagraph::DParagraph() : DItemContainer(Paragraph) {}

DItem* DParagraph::clone() const
{
    return new DParagraph(*this);
}
