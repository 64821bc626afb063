#include "qaresgroup.h"

#include <utility>

QAResGroup::QAResGroup(const char* tag, QARes* child) : QARes(Group, tag), m_child(child) {}

QAResGroup::~QAResGroup()
{
    deleteChain(m_child);
}

void QAResGroup::setChild(QARes* child)
{
    if (child == m_child)
        return;
    deleteChain(m_child);
    m_child = child;
}

std::unique_ptr<QARes> QAResGroup::takeChild()
{
    return std::unique_ptr<QARes>(std::exchange(m_child, nullptr));
}

void QAResGroup::appendChild(QARes* resource)
{
    if (!m_child) {
        m_child = resource;
        return;
    }
    QARes* last = m_child;
    while (last->next())
        last = last->next();
    last->setNext(resource);
}
