#include "dtagpointer.h"

DTagPointer::DTagPointer(const QString& target) : DItem(TagPointer), m_target(target) {}
