#include "fakeviewerplugin.h"

#include "fakeviewerwindow.h"
#include "qaresboolean.h"
#include "qaresgroup.h"
#include "qastudiointerface.h"

QWidget* FakePreferencePage::createWidget(QWidget* parent)
{
    m_box = new QCheckBox(QStringLiteral("Flag"), parent);
    m_box->setObjectName(QStringLiteral("flag"));
    return m_box;
}

void FakeViewerPlugin::initialize(QUnknownInterface* host, QARes* resources)
{
    QUnknownInterface* studio = nullptr;
    if (host && host->queryInterface(IID_QAStudioInterface, &studio))
        m_host = static_cast<QAStudioInterface*>(studio);
    m_host->addResProducer(this);
    const QAResGroup* root = resources ? resources->toResGroup() : nullptr;
    const QARes* flag =
        root && root->child() ? root->child()->search("REPORTER.flag", '.') : nullptr;
    if (flag && flag->toResBoolean()) {
        m_page.flag = flag->toResBoolean()->value();
        setProperty("savedFlag", int(m_page.flag));
    }
}

QAStViewerWindow* FakeViewerPlugin::create(QStringList& files, bool, QWidget* parent, const char*)
{
    m_windows << new FakeViewerWindow(m_host, files, parent);
    return m_windows.last();
}

QAStViewerWindow* FakeViewerPlugin::openedWindow(const QString& file)
{
    for (const QPointer<QAStViewerWindow>& window : std::as_const(m_windows)) {
        if (window && window->files().contains(file))
            return window;
    }
    return nullptr;
}

QARes* FakeViewerPlugin::produce(const char* tag)
{
    return new QAResGroup(tag, new QAResBoolean("flag", m_page.flag));
}

extern "C" Q_DECL_EXPORT const char* qt_ucm_query_verification_data()
{
    return "pattern=QT_UCM_VERIFICATION_DATA\nversion=3.3.8\nflags=11\nbuildkey=unspecified";
}

extern "C" Q_DECL_EXPORT QUnknownInterface* ucm_instantiate()
{
    return (new FakeViewerPlugin)->iface();
}
