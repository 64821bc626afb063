#ifndef DCHARTOBJECT_H
#define DCHARTOBJECT_H

#include <QList>
#include <QObject>
#include <QTextObjectInterface>

class DGraphic;
class QTextCharFormat;

// Draws a graphic item (axes, curves of points) as a chart inside laid-out
// text: the graphic is an object character whose format carries the item.
class DChartObject : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    enum {
        ObjectType = QTextFormat::UserObject + 1,
        GraphicProperty = QTextFormat::UserProperty + 1
    };

    explicit DChartObject(QObject* parent = nullptr);

    static QTextCharFormat format(const DGraphic* graphic);
    static const DGraphic* graphicOf(const QTextFormat& format);

    QSizeF intrinsicSize(QTextDocument* doc, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int position,
                    const QTextFormat& format) override;

    static void paint(QPainter* painter, const QRectF& rect, const DGraphic* graphic,
                      const QFont& font);
    // Round tick values covering [min, max]: steps of 1, 2 or 5 times a
    // power of ten, about count of them; the range is widened to whole steps.
    static QList<double> ticks(double& min, double& max, int count);
    // The colour of the index-th curve that gives none.
    static QColor defaultColor(int index);
};

#endif
