#include "xrdsourceview.h"

#include <QFile>
#include <QFontDatabase>
#include <QTextBlock>

XrdSourceView::XrdSourceView(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

bool XrdSourceView::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    m_path = path;
    setPlainText(QString::fromUtf8(file.readAll()));
    m_line = 0;
    return true;
}

void XrdSourceView::showLine(int line)
{
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    m_line = line > 0 && block.isValid() ? line : 0;
    if (!m_line) {
        setExtraSelections({});
        return;
    }
    QTextEdit::ExtraSelection selection;
    selection.format.setBackground(palette().color(QPalette::Highlight).lighter(160));
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    selection.cursor = QTextCursor(block);
    setExtraSelections({selection});
    setTextCursor(QTextCursor(block));
    centerCursor();
}
