#include "dchartobject.h"

#include "daxis.h"
#include "dcurve.h"
#include "dgraphic.h"
#include "dpalette.h"
#include "dpoint.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>

#include <cmath>
#include <iterator>
#include <limits>

namespace {

struct ChartData
{
    const DAxis* xAxis = nullptr;
    const DAxis* yAxis = nullptr;
    QList<const DCurve*> curves;
    double xMin = std::numeric_limits<double>::max();
    double xMax = std::numeric_limits<double>::lowest();
    double yMin = std::numeric_limits<double>::max();
    double yMax = std::numeric_limits<double>::lowest();
};

ChartData collect(const DGraphic* graphic)
{
    ChartData data;
    for (const DItem* child = graphic->first(); child; child = child->next()) {
        if (child->kind() == DItem::Axis) {
            auto axis = static_cast<const DAxis*>(child);
            (axis->orientation() == Qt::Horizontal ? data.xAxis : data.yAxis) = axis;
        } else if (child->kind() == DItem::Curve) {
            auto curve = static_cast<const DCurve*>(child);
            data.curves.append(curve);
            for (const DItem* p = curve->first(); p; p = p->next()) {
                if (p->kind() != DItem::Point)
                    continue;
                auto point = static_cast<const DPoint*>(p);
                if (!std::isfinite(point->x()) || !std::isfinite(point->y()))
                    continue;
                data.xMin = qMin(data.xMin, point->x());
                data.xMax = qMax(data.xMax, point->x());
                data.yMin = qMin(data.yMin, point->y());
                data.yMax = qMax(data.yMax, point->y());
            }
        }
    }
    if (data.xAxis && data.xAxis->hasRange()) {
        data.xMin = data.xAxis->min();
        data.xMax = data.xAxis->max();
    }
    if (data.yAxis && data.yAxis->hasRange()) {
        data.yMin = data.yAxis->min();
        data.yMax = data.yAxis->max();
    }
    if (data.xMin > data.xMax) {
        data.xMin = 0;
        data.xMax = 1;
    }
    if (data.yMin > data.yMax) {
        data.yMin = 0;
        data.yMax = 1;
    }
    return data;
}

QString tickText(double value, double step)
{
    const int decimals = step >= 1 ? 0 : qBound(0, int(std::ceil(-std::log10(step))), 6);
    return QString::number(value, 'f', decimals);
}

} // namespace

DChartObject::DChartObject(QObject* parent) : QObject(parent) {}

QTextCharFormat DChartObject::format(const DGraphic* graphic)
{
    QTextCharFormat format;
    format.setObjectType(ObjectType);
    format.setProperty(GraphicProperty, QVariant::fromValue(quintptr(graphic)));
    return format;
}

const DGraphic* DChartObject::graphicOf(const QTextFormat& format)
{
    return reinterpret_cast<const DGraphic*>(format.property(GraphicProperty).value<quintptr>());
}

QSizeF DChartObject::intrinsicSize(QTextDocument* doc, int, const QTextFormat& format)
{
    const DGraphic* graphic = graphicOf(format);
    if (!graphic)
        return QSizeF();
    QSizeF size(qMax(120, graphic->width()), qMax(80, graphic->height()));
    const qreal room = doc->textWidth() - 2 * doc->documentMargin() - 8;
    if (room > 0 && size.width() > room)
        size *= room / size.width();
    return size;
}

void DChartObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int,
                              const QTextFormat& format)
{
    if (const DGraphic* graphic = graphicOf(format))
        paint(painter, rect, graphic, doc->defaultFont());
}

QList<double> DChartObject::ticks(double& min, double& max, int count)
{
    if (!(max > min) || !std::isfinite(min) || !std::isfinite(max)) {
        const double centre = std::isfinite(min) ? min : 0.0;
        min = centre - 1;
        max = centre + 1;
    }
    const double rough = (max - min) / qMax(1, count);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= rough)
            break;
    }
    min = std::floor(min / step + 1e-9) * step;
    max = std::ceil(max / step - 1e-9) * step;
    QList<double> values;
    // Each tick from the start, not by adding steps: no error piles up.
    for (int i = 0; i < 50; ++i) {
        const double v = min + i * step;
        if (v > max + step * 1e-6)
            break;
        values.append(std::abs(v) < step * 1e-9 ? 0.0 : v);
    }
    return values;
}

QColor DChartObject::defaultColor(int index)
{
    constexpr int count = int(std::size(DPalette::curves));
    return DPalette::curves[((index % count) + count) % count];
}

void DChartObject::paint(QPainter* painter, const QRectF& rect, const DGraphic* graphic,
                         const QFont& baseFont)
{
    ChartData data = collect(graphic);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(DPalette::chartFrame);
    painter->setBrush(Qt::white);
    painter->drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));

    QFont font(baseFont);
    font.setPointSizeF(qMax(6.0, baseFont.pointSizeF() * 0.85));
    painter->setFont(font);
    const QFontMetricsF fm(font);
    const qreal line = fm.height();

    QList<double> xTicks = ticks(data.xMin, data.xMax, 6);
    QList<double> yTicks = ticks(data.yMin, data.yMax, 5);
    const double xStep = xTicks.size() > 1 ? xTicks[1] - xTicks[0] : 1;
    const double yStep = yTicks.size() > 1 ? yTicks[1] - yTicks[0] : 1;
    qreal yLabelWidth = 0;
    for (double v : yTicks)
        yLabelWidth = qMax(yLabelWidth, fm.horizontalAdvance(tickText(v, yStep)));

    const bool hasTitle = !graphic->title().isEmpty();
    const bool hasYLabel = data.yAxis && !data.yAxis->label().isEmpty();
    const bool hasXLabel = data.xAxis && !data.xAxis->label().isEmpty();
    QRectF plot = rect.adjusted(10 + yLabelWidth + 6 + (hasYLabel ? line + 4 : 0),
                                8 + (hasTitle ? line * 1.4 : 0), -14,
                                -(8 + line + 4 + (hasXLabel ? line + 2 : 0)));
    if (plot.width() < 20 || plot.height() < 20) {
        painter->restore();
        return;
    }
    auto mapX = [&](double x) {
        return plot.left() + (x - data.xMin) / (data.xMax - data.xMin) * plot.width();
    };
    auto mapY = [&](double y) {
        return plot.bottom() - (y - data.yMin) / (data.yMax - data.yMin) * plot.height();
    };

    if (hasTitle) {
        QFont titleFont(font);
        titleFont.setBold(true);
        painter->setFont(titleFont);
        painter->setPen(DPalette::chartText);
        painter->drawText(QRectF(rect.left(), rect.top() + 4, rect.width(), line * 1.3),
                          Qt::AlignCenter, graphic->title());
        painter->setFont(font);
    }

    // Grid, ticks and their labels.
    for (double v : xTicks) {
        const qreal x = mapX(v);
        painter->setPen(QPen(DPalette::chartGrid, 1));
        painter->drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter->setPen(DPalette::chartAxis);
        painter->drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
        painter->drawText(QRectF(x - 40, plot.bottom() + 5, 80, line),
                          Qt::AlignHCenter | Qt::AlignTop, tickText(v, xStep));
    }
    for (double v : yTicks) {
        const qreal y = mapY(v);
        painter->setPen(QPen(DPalette::chartGrid, 1));
        painter->drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter->setPen(DPalette::chartAxis);
        painter->drawLine(QPointF(plot.left() - 4, y), QPointF(plot.left(), y));
        painter->drawText(QRectF(plot.left() - 6 - yLabelWidth, y - line / 2, yLabelWidth, line),
                          Qt::AlignRight | Qt::AlignVCenter, tickText(v, yStep));
    }
    painter->setPen(QPen(DPalette::chartAxis, 1.2));
    painter->drawLine(plot.bottomLeft(), plot.bottomRight());
    painter->drawLine(plot.bottomLeft(), plot.topLeft());

    if (hasXLabel)
        painter->drawText(QRectF(plot.left(), rect.bottom() - line - 6, plot.width(), line),
                          Qt::AlignCenter, data.xAxis->label());
    if (hasYLabel) {
        painter->save();
        painter->translate(rect.left() + 6 + line / 2, plot.center().y());
        painter->rotate(-90);
        painter->drawText(QRectF(-plot.height() / 2, -line / 2, plot.height(), line),
                          Qt::AlignCenter, data.yAxis->label());
        painter->restore();
    }

    // One polyline per curve, clipped to the plot.
    painter->save();
    painter->setClipRect(plot.adjusted(-3, -3, 3, 3));
    for (int i = 0; i < data.curves.size(); ++i) {
        const DCurve* curve = data.curves[i];
        const QColor color = curve->color().isValid() ? curve->color() : defaultColor(i);
        QPolygonF polyline;
        for (const DItem* p = curve->first(); p; p = p->next()) {
            if (p->kind() != DItem::Point)
                continue;
            auto point = static_cast<const DPoint*>(p);
            if (std::isfinite(point->x()) && std::isfinite(point->y()))
                polyline.append(QPointF(mapX(point->x()), mapY(point->y())));
        }
        painter->setPen(QPen(color, 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawPolyline(polyline);
        painter->setBrush(color);
        painter->setPen(QPen(Qt::white, 1));
        if (polyline.size() <= 60)
            for (const QPointF& pt : std::as_const(polyline))
                painter->drawEllipse(pt, 3, 3);
    }
    painter->restore();

    // Legend in the top right corner of the plot.
    qreal legendWidth = 0;
    for (const DCurve* curve : std::as_const(data.curves))
        legendWidth = qMax(legendWidth, fm.horizontalAdvance(curve->label()));
    if (!data.curves.isEmpty() && legendWidth > 0) {
        const QRectF box(plot.right() - legendWidth - 36, plot.top() + 6, legendWidth + 30,
                         data.curves.size() * line + 8);
        painter->setPen(DPalette::chartFrame);
        painter->setBrush(QColor(255, 255, 255, 230));
        painter->drawRoundedRect(box, 3, 3);
        for (int i = 0; i < data.curves.size(); ++i) {
            const DCurve* curve = data.curves[i];
            const qreal y = box.top() + 4 + i * line + line / 2;
            painter->setPen(QPen(curve->color().isValid() ? curve->color() : defaultColor(i), 2.5));
            painter->drawLine(QPointF(box.left() + 6, y), QPointF(box.left() + 20, y));
            painter->setPen(DPalette::chartText);
            painter->drawText(QRectF(box.left() + 24, y - line / 2, legendWidth + 4, line),
                              Qt::AlignVCenter, curve->label());
        }
    }
    painter->restore();
}
