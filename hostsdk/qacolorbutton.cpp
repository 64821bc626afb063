#include "qacolorbutton.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

QAColorButton::QAColorButton(QWidget* parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QToolButton::clicked, this, &QAColorButton::chooseColor);
}

void QAColorButton::setColor(const QColor& color, bool notify)
{
    if (color == m_color)
        return;
    m_color = color;
    setToolTip(color.isValid() ? color.name() : QString());
    update();
    if (notify)
        emit colorChanged(m_color);
}

QSize QAColorButton::sizeHint() const
{
    const int height = fontMetrics().height() + 12;
    return QSize(height * 2, height);
}

QSize QAColorButton::minimumSizeHint() const
{
    return QSize(16, 16);
}

void QAColorButton::chooseColor()
{
    QColorDialog dialog(m_color.isValid() ? m_color : QColor(Qt::white), this);
    dialog.setWindowTitle(tr("Select Color"));
    if (dialog.exec() == QDialog::Accepted && dialog.selectedColor().isValid())
        setColor(dialog.selectedColor(), true);
}

void QAColorButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const QRect swatch = rect().adjusted(5, 5, -6, -6);
    if (!swatch.isValid())
        return;
    painter.setPen(isEnabled() ? palette().color(QPalette::WindowText)
                               : palette().color(QPalette::Disabled, QPalette::WindowText));
    if (m_color.isValid()) {
        painter.setBrush(isEnabled() ? m_color : m_color.lighter(130));
        painter.drawRect(swatch);
    } else {
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(swatch);
        painter.drawLine(swatch.topLeft(), swatch.bottomRight());
    }
}
