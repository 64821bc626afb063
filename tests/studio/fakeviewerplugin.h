#ifndef FAKEVIEWERPLUGIN_H
#define FAKEVIEWERPLUGIN_H

#include "preferenceitem.h"
#include "qaresproducer.h"
#include "qastviewerplugin.h"

#include <QCheckBox>
#include <QPointer>

class QAStudioInterface;

// The fake plug-in's one preference: a flag behind the check box "flag".
class FakePreferencePage : public PreferenceItem
{
public:
    FakePreferencePage() : PreferenceItem("Fake", "fake", "fake") {}

    QWidget* createWidget(QWidget* parent) override;
    void updateContents() override
    {
        if (m_box)
            m_box->setChecked(flag);
    }
    void apply() override { flag = m_box ? m_box->isChecked() : flag; }
    void defaults() override { flag = false; }

    bool flag = false;

private:
    QPointer<QCheckBox> m_box;
};

// A viewer plug-in for the host's tests: it opens FakeViewerWindows, saves
// its flag as the boolean "flag" of its group and sets its property
// "savedFlag" to the flag read at initialize.
class FakeViewerPlugin : public QAStViewerPlugin, public QAResProducer
{
public:
    void initialize(QUnknownInterface* host, QARes* resources) override;
    QStringList accept() override { return {QStringLiteral("*.xrd")}; }
    QStringList filters() override { return {}; }
    QAStViewerWindow* create(QStringList& files, bool, QWidget* parent, const char*) override;
    QAStViewerWindow* create(QStringList& files, QWidget* parent, const char* name) override
    {
        return create(files, true, parent, name);
    }
    void exportHTML(const QString&, const QString&, QAIProgressMonitor*, QAILogMonitor*) override {}
    QAStViewerWindow* openedWindow(const QString& file) override;
    void connectAccepted(QObject*, const char*) override {}
    void connectRejected(QObject*, const char*) override {}
    // Like the real plug-in, it has pages once it is initialised.
    PreferenceItem* preferenceSettings() override { return m_host ? &m_page : nullptr; }
    QString pluginName() override { return QStringLiteral("Fake Viewer"); }
    QString pluginIcon() override { return {}; }
    QString pluginDescription() override { return {}; }
    QString pluginCompanyName() override { return {}; }
    QString pluginCompanyIcon() override { return {}; }
    QString pluginCompanyDescription() override { return {}; }
    QString pluginCopyRight() override { return {}; }
    QString pluginVersion() override { return {}; }
    QDate pluginCreation() override { return {}; }
    QARes* produce(const char* tag) override;

private:
    QAStudioInterface* m_host = nullptr;
    FakePreferencePage m_page;
    QList<QPointer<QAStViewerWindow>> m_windows;
};

#endif
