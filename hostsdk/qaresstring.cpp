#include "qaresstring.h"

QAResString::QAResString(const char* tag, const QString& value) : QARes(String, tag), m_value(value)
{
}
