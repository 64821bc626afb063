#ifndef FAKEVIEWERWINDOW_H
#define FAKEVIEWERWINDOW_H

#include "qastviewerwindow.h"

#include <QPointer>
#include <QTreeWidget>

class QAStudioInterface;
class QMenu;

// A viewer window of the fake plug-in: it records the host's calls in its
// "calls" property (a QStringList, read by the tests without linking this
// library), shows its files in an outline tree, and puts its Commands menu
// in the host's menu bar while it is active. It reads every file but those
// whose name starts with "unreadable".
class FakeViewerWindow : public QAStViewerWindow
{
    Q_OBJECT

public:
    FakeViewerWindow(QAStudioInterface* host, const QStringList& files, QWidget* parent);
    ~FakeViewerWindow() override { delete m_outline.data(); }

    bool hasContentOutline() const override { return true; }
    QWidget* contentOutlineWidget() override { return m_outline; }
    bool canPrint() const override { return true; }
    bool canCopy() const override { return true; }
    bool canFind() const override { return true; }
    bool canReload() const override { return true; }
    QStringList loadedFiles() const override;
    // The "viewState" property; the state given goes to "restoredViewState".
    QByteArray saveViewState() const override { return property("viewState").toByteArray(); }
    void restoreViewState(const QByteArray& state) override
    {
        setProperty("restoredViewState", state);
    }

public slots:
    void activated() override;
    void desactivated() override;
    void print() override { record(QStringLiteral("print")); }
    void copy() override { record(QStringLiteral("copy")); }
    void find(const QString& text) override;
    void findNext() override { record(QStringLiteral("findNext")); }
    void findPrevious() override { record(QStringLiteral("findPrevious")); }
    void reload() override { record(QStringLiteral("reload")); }

private:
    void record(const QString& call)
    {
        setProperty("calls", property("calls").toStringList() << call);
    }

    QAStudioInterface* m_host;
    QPointer<QTreeWidget> m_outline; // owned here, shown by the host
    QMenu* m_menu;
    int m_menuId = -1;
};

#endif
