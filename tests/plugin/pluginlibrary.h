#ifndef PLUGINLIBRARY_H
#define PLUGINLIBRARY_H

#include "qaresgroup.h"
#include "qaresint.h"
#include "qaresrgb.h"
#include "qastviewerplugin.h"

#include <QAbstractScrollArea>
#include <QLibrary>
#include <QTest>

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

// The host's saved preferences: none for an invalid background, else
// another part's group, then the viewer's "REPORTER" group, found by a search.
inline std::unique_ptr<QARes> savedPreferences(const QColor& background)
{
    auto root = std::make_unique<QAResGroup>("PREFERENCES");
    if (!background.isValid())
        return root;
    root->setChild(new QAResGroup("EDITOR", new QAResInt("tab", 4)));
    root->child()->setNext(
        new QAResGroup("REPORTER", new QAResRGB("background", background.red(), background.green(),
                                                background.blue())));
    return root;
}

// The colour a shown viewer window paints where there is no document.
inline QColor viewBackground(QWidget* window)
{
    window->resize(400, 300);
    window->show();
    auto* view = window->findChild<QAbstractScrollArea*>();
    if (!QTest::qWaitForWindowExposed(window) || !view)
        return QColor();
    return view->viewport()->grab().toImage().pixelColor(1, 1);
}

#endif
