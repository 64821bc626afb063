#include "qares.h"

#include "qaresboolean.h"
#include "qaresgroup.h"
#include "qaresint.h"
#include "qaresrgb.h"
#include "qaresstring.h"
#include "qareswriter.h"

#include <cstring>
#include <utility>
#include <vector>

QARes::QARes(Kind kind, const char* tag) : m_tag(tag), m_kind(kind) {}

QARes::~QARes()
{
    deleteChain(m_next);
}

bool QARes::isTag(const char* tag) const
{
    return tag && std::strcmp(m_tag.constData(), tag) == 0;
}

void QARes::setNext(QARes* next)
{
    if (next == m_next)
        return;
    deleteChain(m_next);
    m_next = next;
}

std::unique_ptr<QARes> QARes::takeNext()
{
    return std::unique_ptr<QARes>(std::exchange(m_next, nullptr));
}

void QARes::deleteChain(QARes* first)
{
    // Every node is unlinked from its siblings and children before it is
    // deleted, so no destructor ever walks further than its own node.
    std::vector<QARes*> pending{first};
    while (!pending.empty()) {
        QARes* node = pending.back();
        pending.pop_back();
        if (!node)
            continue;
        pending.push_back(node->takeNext().release());
        if (QAResGroup* group = node->toResGroup())
            pending.push_back(group->takeChild().release());
        delete node;
    }
}

QARes* QARes::search(const char* path, char separator) const
{
    if (!path)
        return nullptr;
    const QList<QByteArray> elements = QByteArray(path).split(separator);
    const QARes* node = this;
    for (qsizetype i = 0; i < elements.size(); ++i) {
        while (node && !node->isTag(elements[i].constData()))
            node = node->next();
        if (!node)
            return nullptr;
        if (i + 1 < elements.size()) {
            const QAResGroup* group = node->toResGroup();
            node = group ? group->child() : nullptr;
        }
    }
    return const_cast<QARes*>(node);
}

bool QARes::write(QIODevice* device) const
{
    QAResWriter writer;
    return writer.write(this, device);
}

QAResGroup* QARes::toResGroup()
{
    return m_kind == Group ? static_cast<QAResGroup*>(this) : nullptr;
}

const QAResGroup* QARes::toResGroup() const
{
    return m_kind == Group ? static_cast<const QAResGroup*>(this) : nullptr;
}

QAResRGB* QARes::toResRGB()
{
    return m_kind == RGB ? static_cast<QAResRGB*>(this) : nullptr;
}

const QAResRGB* QARes::toResRGB() const
{
    return m_kind == RGB ? static_cast<const QAResRGB*>(this) : nullptr;
}

QAResBoolean* QARes::toResBoolean()
{
    return m_kind == Boolean ? static_cast<QAResBoolean*>(this) : nullptr;
}

const QAResBoolean* QARes::toResBoolean() const
{
    return m_kind == Boolean ? static_cast<const QAResBoolean*>(this) : nullptr;
}

QAResInt* QARes::toResInt()
{
    return m_kind == Int ? static_cast<QAResInt*>(this) : nullptr;
}

const QAResInt* QARes::toResInt() const
{
    return m_kind == Int ? static_cast<const QAResInt*>(this) : nullptr;
}

QAResString* QARes::toResString()
{
    return m_kind == String ? static_cast<QAResString*>(this) : nullptr;
}

const QAResString* QARes::toResString() const
{
    return m_kind == String ? static_cast<const QAResString*>(this) : nullptr;
}
