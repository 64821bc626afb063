#include "qartoolbar.h"

#include "qapixmapcenter.h"
#include "qastudiointerface.h"

#include <QMainWindow>
#include <QPointer>
#include <QToolButton>

QARToolBar::QARToolBar(const QString& label, QMainWindow* mainWindow) : QToolBar(label, mainWindow)
{
    // The built-in icons are drawn at 16 pixels; scaled up they would blur.
    setIconSize(QSize(16, 16));

    const QPixmap previousIcon = GETPIX("precKO_xpm", ":/pixmaps/precKO.xpm");
    const QPixmap nextIcon = GETPIX("nextKO_xpm", ":/pixmaps/nextKO.xpm");
    const QPixmap allTestsIcon = GETPIX("testscomplete_xpm", ":/pixmaps/testscomplete.xpm");
    GETPIX("testsfailed_xpm", ":/pixmaps/testsfailed.xpm"); // ready for the first toggle

    m_previousButton = addButton(
        previousIcon, tr("Previous Failed Test"), "Previous Failed Test", &QARToolBar::KOpClicked,
        tr("<b>Previous Failed Test</b><br>Move cursor to the previous failed test."));
    m_nextButton =
        addButton(nextIcon, tr("Next Failed Test"), "Next Failed Test", &QARToolBar::KOsClicked,
                  tr("<b>Next Failed Test</b><br>Move cursor to the next failed test."));
    m_filterButton = addButton(
        allTestsIcon, tr("All Test Results / Failed Tests Only"), "Filter",
        &QARToolBar::filtreClicked,
        tr("<b>All Test Results</b> or <b>Failed Tests Only</b><br>Use this button to either "
           "display all tests or only failed tests"));
    // The pressed look of the filter: a checked state survives focus changes
    // and mouse moves, which a merely "down" button does not.
    m_filterButton->setCheckable(true);

    // Enabled only while a viewer window is active.
    setButtonsEnabled(false);

    if (mainWindow)
        mainWindow->addToolBar(Qt::TopToolBarArea, this);
}

QToolButton* QARToolBar::addButton(const QPixmap& icon, const QString& label, const QString& name,
                                   void (QARToolBar::*slot)(), const QString& whatsThis)
{
    auto* button = new QToolButton(this);
    button->setAutoRaise(true);
    button->setIconSize(iconSize());
    connect(this, &QToolBar::iconSizeChanged, button, &QToolButton::setIconSize);
    button->setIcon(icon);
    button->setText(label);
    button->setToolTip(label);
    button->setObjectName(name);
    button->setWhatsThis(whatsThis);
    connect(button, &QToolButton::clicked, this, slot);
    addWidget(button);
    return button;
}

void QARToolBar::setButtonsEnabled(bool enabled)
{
    m_previousButton->setEnabled(enabled);
    m_nextButton->setEnabled(enabled);
    m_filterButton->setEnabled(enabled);
}

void QARToolBar::toggleFilter()
{
    m_filterOn = !m_filterOn;
    m_filterButton->setIcon(m_filterOn ? GETPIX("testsfailed_xpm", ":/pixmaps/testsfailed.xpm")
                                       : GETPIX("testscomplete_xpm", ":/pixmaps/testscomplete.xpm"));
    m_filterButton->setChecked(m_filterOn);
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
    toggleFilter();
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
