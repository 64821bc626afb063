#ifndef QARESSTRING_H
#define QARESSTRING_H

#include "qares.h"

#include <QString>

// A resource holding one text.
class QAResString : public QARes
{
public:
    QAResString(const char* tag, const QString& value);

    const QString& value() const { return m_value; }
    void setValue(const QString& value) { m_value = value; }

private:
    QString m_value;
};

#endif
