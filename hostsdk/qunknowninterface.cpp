#include "qunknowninterface.h"

QUnknownInterface::~QUnknownInterface() = default;

// Objects of this component model live as long as their owner; reference
// counts are kept for the interface's shape only.
unsigned long QUnknownInterface::addRef()
{
    return 1;
}

unsigned long QUnknownInterface::release()
{
    return 1;
}
