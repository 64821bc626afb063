#include "dapidocview.h"

#include <QDir>
#include <QFileInfo>

DApidocView::DApidocView(QWidget* parent)
    : QAbstractScrollArea(parent), m_background(palette().color(QPalette::Base))
{
}

DApidocView::~DApidocView() = default;

void DApidocView::setMargin(int margin)
{
    setMargin(margin, margin, margin, margin);
}

void DApidocView::setMargin(int left, int top, int right, int bottom)
{
    const QMargins margins(qMax(0, left), qMax(0, top), qMax(0, right), qMax(0, bottom));
    if (margins == m_margins)
        return;
    m_margins = margins;
    settingsChanged();
}

void DApidocView::setWordWrap(bool on)
{
    if (on == m_wordWrap)
        return;
    m_wordWrap = on;
    settingsChanged();
}

void DApidocView::insertSearchPath(const QString& path)
{
    if (path.isEmpty())
        return;
    m_searchPaths.removeAll(path);
    m_searchPaths.prepend(path);
    settingsChanged();
}

QString DApidocView::findFile(const QString& source) const
{
    if (source.isEmpty())
        return QString();
    const QFileInfo direct(source);
    if (direct.isAbsolute())
        return direct.isFile() ? direct.absoluteFilePath() : QString();
    for (const QString& path : m_searchPaths) {
        const QFileInfo candidate(QDir(path), source);
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return QString();
}

void DApidocView::setBackgroundColor(const QColor& color)
{
    if (!color.isValid() || color == m_background)
        return;
    m_background = color;
    settingsChanged();
}

void DApidocView::settingsChanged()
{
    viewport()->update();
}
