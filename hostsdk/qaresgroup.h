#ifndef QARESGROUP_H
#define QARESGROUP_H

#include "qares.h"

// A resource that holds a chain of child resources, which it owns.
class QAResGroup : public QARes
{
public:
    explicit QAResGroup(const char* tag, QARes* child = nullptr);
    ~QAResGroup() override;

    QARes* child() const { return m_child; }
    // Takes ownership of `child`; the previous children are deleted.
    void setChild(QARes* child);
    // Detaches the children and hands them to the caller.
    std::unique_ptr<QARes> takeChild();
    // Adds `resource` (and whatever follows it) after the last child.
    void appendChild(QARes* resource);

private:
    QARes* m_child;
};

#endif
