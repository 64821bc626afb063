#include "qaresint.h"

QAResInt::QAResInt(const char* tag, int value) : QARes(Int, tag), m_value(value) {}
