#ifndef SAVEDPREFERENCES_H
#define SAVEDPREFERENCES_H

#include "qaresboolean.h"
#include "qaresgroup.h"
#include "qaresint.h"
#include "qaresproducer.h"
#include "qaresrgb.h"

#include <QColor>

#include <memory>

// The viewer's values as they are saved in a "REPORTER" resource group.
struct ViewerValues
{
    QColor background;
    bool autoRaise = false;
    int depth = 0;
};

// The host's saved preferences: a root group whose children are the groups
// of each part of the host; the viewer's "REPORTER" group, when wanted,
// comes after another part's group, so that finding it takes a search.
inline std::unique_ptr<QARes> savedPreferences(const ViewerValues* viewer)
{
    auto root = std::make_unique<QAResGroup>("PREFERENCES",
                                             new QAResGroup("EDITOR", new QAResInt("tab", 4)));
    if (!viewer)
        return root;
    auto* reporter = new QAResGroup("REPORTER");
    const QColor& color = viewer->background;
    auto* background = new QAResRGB("background", color.red(), color.green(), color.blue());
    reporter->setChild(background);
    auto* autoRaise = new QAResBoolean("auto_raise", viewer->autoRaise);
    background->setNext(autoRaise);
    autoRaise->setNext(new QAResInt("auto_depth", viewer->depth));
    root->child()->setNext(reporter);
    return root;
}

// The values a producer saves now; a missing value stays at its default.
inline ViewerValues producedValues(QAResProducer* producer)
{
    ViewerValues values;
    std::unique_ptr<QARes> group(producer->produce(nullptr));
    const QAResGroup* reporter = group ? group->toResGroup() : nullptr;
    if (!reporter || !reporter->isTag("REPORTER") || !reporter->child())
        return values;
    if (const QARes* rgb = reporter->child()->search("background", '.'); rgb && rgb->toResRGB())
        values.background = rgb->toResRGB()->color();
    if (const QARes* flag = reporter->child()->search("auto_raise", '.');
        flag && flag->toResBoolean())
        values.autoRaise = flag->toResBoolean()->value();
    if (const QARes* depth = reporter->child()->search("auto_depth", '.');
        depth && depth->toResInt())
        values.depth = depth->toResInt()->value();
    return values;
}

#endif
