#include "qastoutputwidget.h"

#include <QScrollBar>
#include <QTextCursor>

QAStOutputWidget::QAStOutputWidget(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setMaximumBlockCount(0);
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

QAStOutputWidget::~QAStOutputWidget() = default;

void QAStOutputWidget::append(const QString& text)
{
    if (text.isEmpty())
        return;
    // A cursor of its own: the user's selection stays, and text without a
    // line feed continues the last line (appendPlainText would start one).
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    // Scrolling blits the whole viewport: once per burst of output, not once
    // per line.
    if (!m_scrollQueued) {
        m_scrollQueued = true;
        QMetaObject::invokeMethod(this, &QAStOutputWidget::scrollToEnd, Qt::QueuedConnection);
    }
}

void QAStOutputWidget::scrollToEnd()
{
    m_scrollQueued = false;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

void QAStOutputWidget::log(const QString& text)
{
    append(text + u'\n');
}

void QAStOutputWidget::error(const QString& text)
{
    ++m_errors;
    append(text + u'\n');
}
