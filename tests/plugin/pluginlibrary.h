#ifndef PLUGINLIBRARY_H
#define PLUGINLIBRARY_H

#include "qaresboolean.h"
#include "qaresgroup.h"
#include "qaresint.h"
#include "qaresproducer.h"
#include "qaresrgb.h"
#include "qastviewerplugin.h"

#include <QColor>
#include <QLibrary>

#include <memory>

// A new object of the viewer plug-in, loaded by path as the host loads it,
// or null; the caller owns it. Qt keeps one copy of the library per process,
// so the plug-in's process-wide state outlives every object.
inline QAStViewerPlugin* createPlugin()
{
    QLibrary library(QStringLiteral(XRD_PLUGIN_PATH));
    auto make = reinterpret_cast<QAPluginInstantiateFunction>(library.resolve("ucm_instantiate"));
    QUnknownInterface* object = make ? make() : nullptr;
    QUnknownInterface* iface = nullptr;
    return object && object->queryInterface(IID_QAStViewerPlugin, &iface)
               ? static_cast<QAStViewerPlugin*>(iface)
               : nullptr;
}

// The host's saved preferences: another part's group, then, for a valid
// background, the viewer's "REPORTER" group, found by a search.
inline std::unique_ptr<QARes> savedPreferences(const QColor& background, bool autoRaise, int depth)
{
    auto root = std::make_unique<QAResGroup>("PREFERENCES",
                                             new QAResGroup("EDITOR", new QAResInt("tab", 4)));
    if (!background.isValid())
        return root;
    auto* rgb = new QAResRGB("background", background.red(), background.green(), background.blue());
    rgb->setNext(new QAResBoolean("auto_raise", autoRaise));
    rgb->next()->setNext(new QAResInt("auto_depth", depth));
    root->child()->setNext(new QAResGroup("REPORTER", rgb));
    return root;
}

// The values a producer saves now, as "background auto_raise auto_depth".
inline QString producedValues(QAResProducer* producer)
{
    std::unique_ptr<QARes> group(producer->produce(nullptr));
    const QAResGroup* reporter = group ? group->toResGroup() : nullptr;
    const QARes* values = reporter && reporter->isTag("REPORTER") ? reporter->child() : nullptr;
    const QARes* rgb = values ? values->search("background", '.') : nullptr;
    const QARes* flag = values ? values->search("auto_raise", '.') : nullptr;
    const QARes* depth = values ? values->search("auto_depth", '.') : nullptr;
    if (!rgb || !rgb->toResRGB() || !flag || !flag->toResBoolean() || !depth || !depth->toResInt())
        return QString();
    return QString("%1 %2 %3")
        .arg(rgb->toResRGB()->color().name())
        .arg(flag->toResBoolean()->value())
        .arg(depth->toResInt()->value());
}

#endif
