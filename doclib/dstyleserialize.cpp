#include "dstyleserialize.h"

#include "dstyle.h"
#include "qaresboolean.h"
#include "qaresgroup.h"
#include "qaresint.h"
#include "qaresrgb.h"
#include "qaresstring.h"

#include <QColor>

namespace {

// Builds a sibling chain in order.
class ChainBuilder
{
public:
    explicit ChainBuilder(QAResGroup* group) : m_group(group) {}
    void add(QARes* resource)
    {
        if (m_last)
            m_last->setNext(resource);
        else
            m_group->setChild(resource);
        m_last = resource;
    }

private:
    QAResGroup* m_group;
    QARes* m_last = nullptr;
};

QAResRGB* colorResource(const char* tag, const QColor& color)
{
    return new QAResRGB(tag, color.red(), color.green(), color.blue());
}

} // namespace

QAResGroup* DStyleSerialize::styleToResources(const char* tag, const DStyle* style)
{
    auto* group = new QAResGroup(tag);
    if (!style)
        return group;
    ChainBuilder chain(group);
    chain.add(new QAResString("name", style->name()));
    chain.add(new QAResString("family", style->family()));
    chain.add(new QAResInt("size", style->pointSize()));
    chain.add(new QAResBoolean("bold", style->bold()));
    chain.add(new QAResBoolean("italic", style->italic()));
    chain.add(new QAResBoolean("underline", style->underline()));
    if (style->color().isValid())
        chain.add(colorResource("color", style->color()));
    if (style->background().isValid())
        chain.add(colorResource("background", style->background()));
    chain.add(new QAResString("align", DStyle::alignmentToText(style->alignment())));
    chain.add(new QAResInt("margin", style->margin()));
    return group;
}

bool DStyleSerialize::styleFromResources(QARes* group, DStyle* style)
{
    QAResGroup* resources = group ? group->toResGroup() : nullptr;
    if (!resources || !style)
        return false;
    for (QARes* res = resources->child(); res; res = res->next()) {
        if (const QAResString* text = res->toResString()) {
            if (res->isTag("family"))
                style->setFamily(text->value());
            else if (res->isTag("align"))
                style->setAlignment(DStyle::alignmentFromText(text->value()));
        } else if (const QAResInt* number = res->toResInt()) {
            // The same bounds as the style file reader applies.
            if (res->isTag("size"))
                style->setPointSize(qBound(0, number->value(), 200));
            else if (res->isTag("margin"))
                style->setMargin(qBound(-1, number->value(), 200));
        } else if (const QAResBoolean* flag = res->toResBoolean()) {
            if (res->isTag("bold"))
                style->setBold(flag->value());
            else if (res->isTag("italic"))
                style->setItalic(flag->value());
            else if (res->isTag("underline"))
                style->setUnderline(flag->value());
        } else if (const QAResRGB* rgb = res->toResRGB()) {
            if (res->isTag("color"))
                style->setColor(rgb->color());
            else if (res->isTag("background"))
                style->setBackground(rgb->color());
        }
    }
    return true;
}
