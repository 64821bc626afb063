#include "qaresboolean.h"

QAResBoolean::QAResBoolean(const char* tag, bool value) : QARes(Boolean, tag), m_value(value) {}
