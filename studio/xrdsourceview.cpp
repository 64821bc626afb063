#include "xrdsourceview.h"

#include "xrdlinenumberarea.h"

#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <QTextBlock>

namespace {

// Space between the numbers and the gutter's edges, in pixels.
constexpr int gutterPadding = 4;

} // namespace

XrdSourceView::XrdSourceView(QWidget* parent)
    : QPlainTextEdit(parent), m_lineNumbers(new XrdLineNumberArea(this))
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(this, &QPlainTextEdit::blockCountChanged, this,
            &XrdSourceView::updateLineNumberAreaWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &XrdSourceView::updateLineNumberArea);
    updateLineNumberAreaWidth();
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
    m_lineNumbers->update();
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

QWidget* XrdSourceView::lineNumberArea() const
{
    return m_lineNumbers;
}

int XrdSourceView::lineNumberAreaWidth() const
{
    const QString widest(QString::number(qMax(1, blockCount())).size(), QLatin1Char('9'));
    return fontMetrics().horizontalAdvance(widest) + 2 * gutterPadding;
}

void XrdSourceView::updateLineNumberAreaWidth()
{
    setViewportMargins(lineNumberAreaWidth(), 0, 0, 0);
}

void XrdSourceView::updateLineNumberArea(const QRect& rect, int dy)
{
    if (dy)
        m_lineNumbers->scroll(0, dy);
    else
        m_lineNumbers->update(0, rect.y(), m_lineNumbers->width(), rect.height());
}

void XrdSourceView::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    m_lineNumbers->setGeometry(area.left(), area.top(), lineNumberAreaWidth(), area.height());
}

void XrdSourceView::paintLineNumbers(QPaintEvent* event)
{
    QPainter painter(m_lineNumbers);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    const int width = m_lineNumbers->width() - gutterPadding;
    const int height = fontMetrics().height();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int bottom = top + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= event->rect().top()) {
            const int number = block.blockNumber() + 1;
            QFont font = painter.font();
            font.setBold(number == m_line);
            painter.setFont(font);
            painter.setPen(
                palette().color(number == m_line ? QPalette::Text : QPalette::PlaceholderText));
            painter.drawText(0, top, width, height, Qt::AlignRight, QString::number(number));
        }
        block = block.next();
        top = bottom;
    }
}
