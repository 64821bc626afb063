#ifndef DTAGPOINTER_H
#define DTAGPOINTER_H

#include "ditem.h"

// A reference to the tag of the given name.
class DTagPointer : public DItem
{
public:
    explicit DTagPointer(const QString& target = QString());
    DTagPointer(const DTagPointer& other) = default;

    const QString& target() const { return m_target; }
    void setTarget(const QString& target) { m_target = target; }

private:
    QString m_target;
};

#endif
