#ifndef QARTOOLBAR_H
#define QARTOOLBAR_H

#include <QToolBar>

class QAction;
class QMainWindow;
class QAStudioInterface;

// The viewer's toolbar: previous failed test, next failed test and the
// filter that switches between all test results and failed tests only. It
// only emits signals; the active viewer window connects them to its slots
// and reads the filter state back.
class QARToolBar : public QToolBar
{
    Q_OBJECT

public:
    // Docks the toolbar at the top of mainWindow, when there is one.
    QARToolBar(const QString& label, QMainWindow* mainWindow);

    // True when only failed tests are to be shown.
    bool isFilterOn() const;
    void setButtonsEnabled(bool enabled);
    // Flips the filter state; the filter button shows it (icon and pressed
    // look). Emits nothing: callers that change the filter from elsewhere
    // keep the button in step without a signal loop.
    void toggleFilter();
    // Next and previous failed test, with their keys (F8, Shift+F8), for
    // the viewer's menu to show.
    QAction* nextFailedAction() const { return m_nextAction; }
    QAction* previousFailedAction() const { return m_previousAction; }

signals:
    void KOsuivClicked();
    void KOprecClicked();
    void fltClicked();
    void refreshClicked();

private slots:
    void KOsClicked();
    void KOpClicked();
    void filtreClicked();
    void reloadClicked();

private:
    QAction* addToolAction(const QIcon& icon, const QString& label, const QString& name,
                           void (QARToolBar::*slot)(), const QString& whatsThis,
                           const QKeySequence& key = QKeySequence());

    QAction* m_previousAction;
    QAction* m_nextAction;
    // Checked while only failed tests are shown; its icon has the all-tests
    // picture for the unchecked state and the failed-tests one for checked.
    QAction* m_filterAction;
};

// The toolbar shared by all viewer windows, docked in the host's main
// window: created on the first call with a host that has a main window,
// the same object afterwards. Null without a host or without a main window.
QARToolBar* reporterToolBar(QAStudioInterface* studio);

#endif
