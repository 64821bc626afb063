#include "qareporterheadersize.h"

#include <QDockWidget>
#include <QEvent>
#include <QLayout>
#include <QMainWindow>

namespace {

// The dock's frame around its view.
constexpr int frame = 12;

} // namespace

QAReporterHeaderSize::QAReporterHeaderSize(QMainWindow* window, QDockWidget* dock)
    : QObject(window), m_window(window), m_dock(dock)
{
    m_window->installEventFilter(this);
}

int QAReporterHeaderSize::fitting(int needed, int lineHeight, int windowHeight)
{
    const int most = qMax(windowHeight / 2, 2 * lineHeight + frame);
    return qMin(qMax(needed, lineHeight) + frame, most);
}

bool QAReporterHeaderSize::shownInPlace() const
{
    return m_placed && m_window->isVisible() && m_dock->isVisibleTo(m_window);
}

void QAReporterHeaderSize::show(const Measure& needed, int lineHeight)
{
    if (shownInPlace()) {
        // Already there: it keeps the height the user left it at.
        m_remembered = m_dock->height();
        return;
    }
    m_window->addDockWidget(Qt::TopDockWidgetArea, m_dock);
    m_dock->show();
    m_needed = needed;
    m_lineHeight = lineHeight;
    resize(m_remembered);
}

void QAReporterHeaderSize::hide()
{
    if (shownInPlace())
        m_remembered = m_dock->height();
    m_window->removeDockWidget(m_dock);
}

int QAReporterHeaderSize::height() const
{
    return shownInPlace() ? m_dock->height() : m_remembered;
}

void QAReporterHeaderSize::setHeight(int height)
{
    if (height <= 0)
        return;
    m_remembered = height;
    if (m_dock->isVisibleTo(m_window))
        resize(height);
}

void QAReporterHeaderSize::resize(int height)
{
    if (!m_window->isVisible()) {
        m_pending = true;
        m_placed = false;
        return;
    }
    m_pending = false;
    if (height <= 0) {
        // The content is measured at the width the dock is laid out with.
        if (QLayout* layout = m_window->layout())
            layout->activate();
        height = fitting(m_needed ? m_needed() : 0, m_lineHeight, m_window->height());
    }
    m_window->resizeDocks({m_dock}, {height}, Qt::Vertical);
    m_placed = true;
}

bool QAReporterHeaderSize::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window || !m_dock->isVisibleTo(m_window))
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Show && m_pending)
        resize(m_remembered);
    else if (event->type() == QEvent::Hide && m_placed)
        m_remembered = m_dock->height(); // the window went to the background
    return QObject::eventFilter(watched, event);
}
