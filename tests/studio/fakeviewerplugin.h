#ifndef FAKEVIEWERPLUGIN_H
#define FAKEVIEWERPLUGIN_H

#include "preferenceitem.h"
#include "qaresproducer.h"
#include "qastviewerplugin.h"

#include <QCheckBox>
#include <QPointer>

class QAStudioInterface;

// The fake plug-in's one preference: a flag behind a check box. It is saved
// as the boolean "flag" of the REPORTER group.
class FakePreferencePage : public PreferenceItem
{
    Q_OBJECT

public:
    FakePreferencePage();

    QWidget* createWidget(QWidget* parent) override;
    void updateContents() override
    {
        if (m_box)
            m_box->setChecked(m_flag);
    }
    void apply() override
    {
        if (m_box)
            m_flag = m_box->isChecked();
    }
    void defaults() override { m_flag = false; }

    bool flag() const { return m_flag; }
    void setFlag(bool on) { m_flag = on; }

private:
    bool m_flag = false;
    QPointer<QCheckBox> m_box;
};

// A viewer plug-in for the host's tests: it opens FakeViewerWindows and
// records, as properties of itself, what the host gave it: "savedFlag" (the
// flag read from the resources at initialize, unset when there was none),
// "accepted" and "rejected" (how often the preferences dialog ended so).
class FakeViewerPlugin : public QAStViewerPlugin, public QAResProducer
{
    Q_OBJECT

public:
    void initialize(QUnknownInterface* host, QARes* resources) override;
    QStringList accept() override { return {QStringLiteral("*.xrd")}; }
    QStringList filters() override { return {QStringLiteral("Report (*.xrd)")}; }
    QAStViewerWindow* create(QStringList& files, bool activateDisplay, QWidget* parent,
                             const char* name) override;
    QAStViewerWindow* create(QStringList& files, QWidget* parent, const char* name) override
    {
        return create(files, true, parent, name);
    }
    void exportHTML(const QString&, const QString&, QAIProgressMonitor*, QAILogMonitor*) override {}
    QAStViewerWindow* openedWindow(const QString& file) override;
    void connectAccepted(QObject* sender, const char* signal) override
    {
        connect(sender, signal, this, SLOT(preferencesAccepted()));
    }
    void connectRejected(QObject* sender, const char* signal) override
    {
        connect(sender, signal, this, SLOT(preferencesRejected()));
    }
    // Like the real plug-in, it has pages once it is initialised.
    PreferenceItem* preferenceSettings() override { return m_host ? &m_page : nullptr; }
    QString pluginName() override { return QStringLiteral("Fake Viewer"); }
    QString pluginIcon() override { return QString(); }
    QString pluginDescription() override { return QStringLiteral("Records what the host does"); }
    QString pluginCompanyName() override { return QStringLiteral("Tests"); }
    QString pluginCompanyIcon() override { return QString(); }
    QString pluginCompanyDescription() override { return QString(); }
    QString pluginCopyRight() override { return QStringLiteral("none"); }
    QString pluginVersion() override { return QStringLiteral("0.1"); }
    QDate pluginCreation() override { return QDate(2026, 1, 1); }

    QARes* produce(const char* tag) override;

private slots:
    void preferencesAccepted() { setProperty("accepted", property("accepted").toInt() + 1); }
    void preferencesRejected() { setProperty("rejected", property("rejected").toInt() + 1); }

private:
    QAStudioInterface* m_host = nullptr;
    FakePreferencePage m_page;
    QList<QPointer<QAStViewerWindow>> m_windows;
};

#endif
