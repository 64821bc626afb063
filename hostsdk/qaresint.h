#ifndef QARESINT_H
#define QARESINT_H

#include "qares.h"

// A resource holding one int value.
class QAResInt : public QARes
{
public:
    QAResInt(const char* tag, int value);

    int value() const { return m_value; }
    void setValue(int value) { m_value = value; }

private:
    int m_value;
};

#endif
