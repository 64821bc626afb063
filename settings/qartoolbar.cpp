#include "qartoolbar.h"

#include "qapixmapcenter.h"
#include "qastudiointerface.h"

#include <QAction>
#include <QMainWindow>
#include <QPointer>

QARToolBar::QARToolBar(const QString& label, QMainWindow* mainWindow) : QToolBar(label, mainWindow)
{
    // The built-in icons are drawn at 16 pixels; scaled up they would blur.
    setIconSize(QSize(16, 16));

    m_previousAction =
        addToolAction(GETPIX("precKO_xpm", ":/pixmaps/precKO.xpm"), tr("Previous Failed Test"),
                      "Previous Failed Test", &QARToolBar::KOpClicked,
                      tr("<b>Previous Failed Test</b><br>Move cursor to the previous failed test."),
                      QKeySequence(Qt::SHIFT | Qt::Key_F8));
    m_nextAction =
        addToolAction(GETPIX("nextKO_xpm", ":/pixmaps/nextKO.xpm"), tr("Next Failed Test"),
                      "Next Failed Test", &QARToolBar::KOsClicked,
                      tr("<b>Next Failed Test</b><br>Move cursor to the next failed test."),
                      QKeySequence(Qt::Key_F8));

    QIcon filterIcon(GETPIX("testscomplete_xpm", ":/pixmaps/testscomplete.xpm"));
    filterIcon.addPixmap(GETPIX("testsfailed_xpm", ":/pixmaps/testsfailed.xpm"), QIcon::Normal,
                         QIcon::On);
    m_filterAction = addToolAction(
        filterIcon, tr("All Test Results / Failed Tests Only"), "Filter",
        &QARToolBar::filtreClicked,
        tr("<b>All Test Results</b> or <b>Failed Tests Only</b><br>Use this button to either "
           "display all tests or only failed tests"));
    m_filterAction->setCheckable(true);

    // Enabled only while a viewer window is active.
    setButtonsEnabled(false);

    if (mainWindow)
        mainWindow->addToolBar(Qt::TopToolBarArea, this);
}

QAction* QARToolBar::addToolAction(const QIcon& icon, const QString& label, const QString& name,
                                   void (QARToolBar::*slot)(), const QString& whatsThis,
                                   const QKeySequence& key)
{
    QAction* action = addAction(icon, label);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setToolTip(key.isEmpty() ? label
                                     : QStringLiteral("%1 (%2)").arg(
                                           label, key.toString(QKeySequence::NativeText)));
    action->setWhatsThis(whatsThis);
    // A checkable action has already changed state when it is triggered.
    connect(action, &QAction::triggered, this, slot);
    return action;
}

bool QARToolBar::isFilterOn() const
{
    return m_filterAction->isChecked();
}

void QARToolBar::setButtonsEnabled(bool enabled)
{
    m_previousAction->setEnabled(enabled);
    m_nextAction->setEnabled(enabled);
    m_filterAction->setEnabled(enabled);
}

void QARToolBar::toggleFilter()
{
    m_filterAction->setChecked(!m_filterAction->isChecked());
}

void QARToolBar::KOsClicked()
{
    emit KOsuivClicked();
}

void QARToolBar::KOpClicked()
{
    emit KOprecClicked();
}

void QARToolBar::filtreClicked()
{
    emit fltClicked();
}

void QARToolBar::reloadClicked()
{
    emit refreshClicked();
}

QARToolBar* reporterToolBar(QAStudioInterface* studio)
{
    static QPointer<QARToolBar> shared;
    if (!studio || !studio->mainWindow())
        return nullptr;
    if (!shared)
        shared = new QARToolBar(QARToolBar::tr("Test Report Toolbar", "Tool bar Title"),
                                studio->mainWindow());
    return shared;
}
