#include "xrdlinenumberarea.h"

#include "xrdsourceview.h"

XrdLineNumberArea::XrdLineNumberArea(XrdSourceView* view) : QWidget(view), m_view(view)
{
    setObjectName(QStringLiteral("lineNumbers"));
}

QSize XrdLineNumberArea::sizeHint() const
{
    return QSize(m_view->lineNumberAreaWidth(), 0);
}

void XrdLineNumberArea::paintEvent(QPaintEvent* event)
{
    m_view->paintLineNumbers(event);
}
