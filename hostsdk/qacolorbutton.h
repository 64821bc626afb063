#ifndef QACOLORBUTTON_H
#define QACOLORBUTTON_H

#include <QColor>
#include <QToolButton>

// A button showing a colour as a swatch; clicking it lets the user pick
// another colour in a QColorDialog. An invalid colour shows as a crossed
// swatch, meaning "no colour set".
class QAColorButton : public QToolButton
{
    Q_OBJECT
public:
    explicit QAColorButton(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    // Shows `color`; with `notify`, emits colorChanged() when it differs.
    void setColor(const QColor& color, bool notify = true);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void colorChanged(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void chooseColor();

    QColor m_color;
};

#endif
