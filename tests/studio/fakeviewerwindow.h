#ifndef FAKEVIEWERWINDOW_H
#define FAKEVIEWERWINDOW_H

#include "qastviewerwindow.h"

#include <QLabel>
#include <QPointer>

class QAStudioInterface;
class QMenu;

// A viewer window of the fake plug-in: it records the host's calls in its
// "calls" property, has an outline and puts its menu "menu of <first file>"
// in the host's menu bar while it is active. It reads every file but those
// named "unreadable...". Its panes' state is its property "viewState"; the
// state the host gives it goes to "restoredViewState". Opened on a file
// named "ballast...", it holds 200 MB in small blocks.
class FakeViewerWindow : public QAStViewerWindow
{
public:
    FakeViewerWindow(QAStudioInterface* host, const QStringList& files, QWidget* parent);
    ~FakeViewerWindow() override { delete m_outline.data(); }

    bool hasContentOutline() const override { return true; }
    QWidget* contentOutlineWidget() override { return m_outline; }
    bool canPrint() const override { return true; }
    bool canFind() const override { return true; }
    QStringList loadedFiles() const override;
    QByteArray saveViewState() const override { return property("viewState").toByteArray(); }
    void restoreViewState(const QByteArray& state) override
    {
        setProperty("restoredViewState", state);
    }

    void activated() override;
    void desactivated() override;
    void print() override { record("print"); }
    void find(const QString& text) override { record(text.isNull() ? "find <dialog>" : text); }
    void findNext() override { record("findNext"); }
    void findPrevious() override { record("findPrevious"); }
    void reload() override { record("reload"); }

private:
    void record(const QString& call)
    {
        setProperty("calls", property("calls").toStringList() << call);
    }

    QAStudioInterface* m_host;
    QPointer<QLabel> m_outline; // owned here, shown by the host
    QMenu* m_menu;
    int m_menuId = -1;
};

#endif
