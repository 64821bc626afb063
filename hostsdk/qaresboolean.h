#ifndef QARESBOOLEAN_H
#define QARESBOOLEAN_H

#include "qares.h"

// A resource holding one bool value.
class QAResBoolean : public QARes
{
public:
    QAResBoolean(const char* tag, bool value);

    bool value() const { return m_value; }
    void setValue(bool value) { m_value = value; }

private:
    bool m_value;
};

#endif
