#include "qastudiowindow.h"

QAStudioWindow::QAStudioWindow(QWidget* parent, Qt::WindowFlags flags) : QMainWindow(parent, flags)
{
}

QAStudioWindow::~QAStudioWindow() = default;

bool QAStudioWindow::hasContentOutline() const
{
    return false;
}

QWidget* QAStudioWindow::contentOutlineWidget()
{
    return nullptr;
}

bool QAStudioWindow::canSave() const
{
    return false;
}

bool QAStudioWindow::canSaveAs() const
{
    return false;
}

bool QAStudioWindow::canPrint() const
{
    return false;
}

bool QAStudioWindow::canCopy() const
{
    return false;
}

bool QAStudioWindow::canPaste() const
{
    return false;
}

bool QAStudioWindow::canCut() const
{
    return false;
}

bool QAStudioWindow::canUndo() const
{
    return false;
}

bool QAStudioWindow::canRedo() const
{
    return false;
}

bool QAStudioWindow::canDelete() const
{
    return false;
}

bool QAStudioWindow::canSelectAll() const
{
    return false;
}

bool QAStudioWindow::canFind() const
{
    return false;
}

bool QAStudioWindow::canReplace() const
{
    return false;
}

bool QAStudioWindow::canGoTo() const
{
    return false;
}

bool QAStudioWindow::canExport() const
{
    return false;
}

bool QAStudioWindow::canZoom() const
{
    return false;
}

bool QAStudioWindow::canExportHTML() const
{
    return false;
}

bool QAStudioWindow::canFilter() const
{
    return false;
}

bool QAStudioWindow::canRunMacro() const
{
    return false;
}

bool QAStudioWindow::exportHTML(const QString&, const QString&, QAIProgressMonitor*, QAILogMonitor*)
{
    return false;
}

void QAStudioWindow::activated()
{
    m_activated = true;
}

void QAStudioWindow::desactivated()
{
    m_activated = false;
}

void QAStudioWindow::save() {}

void QAStudioWindow::saveAs() {}

void QAStudioWindow::print() {}

void QAStudioWindow::copy() {}

void QAStudioWindow::paste() {}

void QAStudioWindow::cut() {}

void QAStudioWindow::undo() {}

void QAStudioWindow::redo() {}

void QAStudioWindow::del() {}

void QAStudioWindow::selectAll() {}

void QAStudioWindow::find(const QString&) {}

void QAStudioWindow::replace() {}

void QAStudioWindow::goTo() {}

void QAStudioWindow::reload() {}

void QAStudioWindow::zoomIn() {}

void QAStudioWindow::zoomOut() {}

void QAStudioWindow::zoom(int) {}

void QAStudioWindow::mnFilter() {}

void QAStudioWindow::exportDoc() {}

void QAStudioWindow::reloadFiles() {}

void QAStudioWindow::findNext()
{
    find(QString());
}

void QAStudioWindow::findPrevious()
{
    find(QString());
}
