#include "dhtmlchart.h"

#include "daxis.h"
#include "dchartobject.h"
#include "dcurve.h"
#include "dgraphic.h"
#include "dhtmlwriter.h"
#include "dpalette.h"
#include "dpoint.h"

#include <QList>
#include <QTextStream>

#include <cmath>
#include <limits>

namespace {

constexpr double fontSize = 11;
constexpr double line = 14;
// An estimate of a character's width: the SVG is laid out before any font
// is known.
constexpr double charWidth = 6.5;
constexpr int maxSize = 4000;
constexpr int maxLegend = 12;

struct Range
{
    double min = std::numeric_limits<double>::max();
    double max = std::numeric_limits<double>::lowest();
    void add(double v)
    {
        min = qMin(min, v);
        max = qMax(max, v);
    }
};

struct Chart
{
    const DAxis* xAxis = nullptr;
    const DAxis* yAxis = nullptr;
    QList<const DCurve*> curves;
    Range x;
    Range y;
};

bool finitePoint(const DItem* item)
{
    if (item->kind() != DItem::Point)
        return false;
    auto point = static_cast<const DPoint*>(item);
    return std::isfinite(point->x()) && std::isfinite(point->y());
}

Chart collect(const DGraphic* graphic)
{
    Chart chart;
    for (const DItem* child = graphic->first(); child; child = child->next()) {
        if (child->kind() == DItem::Axis) {
            auto axis = static_cast<const DAxis*>(child);
            (axis->orientation() == Qt::Horizontal ? chart.xAxis : chart.yAxis) = axis;
        } else if (child->kind() == DItem::Curve) {
            auto curve = static_cast<const DCurve*>(child);
            chart.curves.append(curve);
            for (const DItem* p = curve->first(); p; p = p->next()) {
                if (!finitePoint(p))
                    continue;
                chart.x.add(static_cast<const DPoint*>(p)->x());
                chart.y.add(static_cast<const DPoint*>(p)->y());
            }
        }
    }
    auto useAxis = [](const DAxis* axis, Range& range) {
        if (axis && axis->hasRange() && std::isfinite(axis->min()) && std::isfinite(axis->max())) {
            range.min = axis->min();
            range.max = axis->max();
        }
        if (range.min > range.max) {
            range.min = 0;
            range.max = 1;
        }
    };
    useAxis(chart.xAxis, chart.x);
    useAxis(chart.yAxis, chart.y);
    return chart;
}

QString tickText(double value, double step)
{
    const int decimals = step >= 1 ? 0 : qBound(0, int(std::ceil(-std::log10(step))), 6);
    return QString::number(value, 'f', decimals);
}

QString num(double v)
{
    return QString::number(v, 'f', 1);
}

void text(QTextStream& out, double x, double y, const char* anchor, const QString& content,
          const char* extra = "")
{
    out << "<text x=\"" << num(x) << "\" y=\"" << num(y) << "\" text-anchor=\"" << anchor << "\""
        << extra << ">" << DHTMLWriter::escapeText(content) << "</text>";
}

void lineTo(QTextStream& out, double x1, double y1, double x2, double y2, const QColor& color,
            double width = 1)
{
    out << "<line x1=\"" << num(x1) << "\" y1=\"" << num(y1) << "\" x2=\"" << num(x2) << "\" y2=\""
        << num(y2) << "\" stroke=\"" << color.name() << "\" stroke-width=\"" << width << "\"/>";
}

} // namespace

void DHtmlChart::write(QTextStream& out, const DGraphic* graphic)
{
    Chart chart = collect(graphic);
    const double width = qBound(120, graphic->width(), maxSize);
    const double height = qBound(80, graphic->height(), maxSize);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" width=\"" << width
        << "\" height=\"" << height << "\" viewBox=\"0 0 " << width << ' ' << height
        << "\" font-family=\"sans-serif\" font-size=\"" << fontSize << "\" role=\"img\">";
    if (!graphic->title().isEmpty())
        out << "<title>" << DHTMLWriter::escapeText(graphic->title()) << "</title>";
    out << "<rect x=\"0.5\" y=\"0.5\" width=\"" << width - 1 << "\" height=\"" << height - 1
        << "\" fill=\"#ffffff\" stroke=\"" << DPalette::chartFrame.name() << "\"/>";

    const QList<double> xTicks = DChartObject::ticks(chart.x.min, chart.x.max, 6);
    const QList<double> yTicks = DChartObject::ticks(chart.y.min, chart.y.max, 5);
    const double xStep = xTicks.size() > 1 ? xTicks[1] - xTicks[0] : 1;
    const double yStep = yTicks.size() > 1 ? yTicks[1] - yTicks[0] : 1;
    double yLabelWidth = 0;
    for (double v : yTicks)
        yLabelWidth = qMax(yLabelWidth, tickText(v, yStep).size() * charWidth);

    const bool hasTitle = !graphic->title().isEmpty();
    const bool hasXLabel = chart.xAxis && !chart.xAxis->label().isEmpty();
    const bool hasYLabel = chart.yAxis && !chart.yAxis->label().isEmpty();
    const double left = 10 + yLabelWidth + 6 + (hasYLabel ? line + 4 : 0);
    const double top = 8 + (hasTitle ? line * 1.4 : 0);
    const double right = width - 14;
    const double bottom = height - (8 + line + 4 + (hasXLabel ? line + 2 : 0));
    if (right - left < 20 || bottom - top < 20) {
        out << "</svg>";
        return;
    }
    auto mapX = [&](double x) {
        return left + (x - chart.x.min) / (chart.x.max - chart.x.min) * (right - left);
    };
    auto mapY = [&](double y) {
        return bottom - (y - chart.y.min) / (chart.y.max - chart.y.min) * (bottom - top);
    };

    if (hasTitle)
        text(out, width / 2, 4 + line, "middle", graphic->title(), " font-weight=\"bold\"");
    for (double v : xTicks) {
        const double x = mapX(v);
        lineTo(out, x, top, x, bottom, DPalette::chartGrid);
        lineTo(out, x, bottom, x, bottom + 4, DPalette::chartAxis);
        text(out, x, bottom + 5 + fontSize, "middle", tickText(v, xStep));
    }
    for (double v : yTicks) {
        const double y = mapY(v);
        lineTo(out, left, y, right, y, DPalette::chartGrid);
        lineTo(out, left - 4, y, left, y, DPalette::chartAxis);
        text(out, left - 6, y + fontSize / 3, "end", tickText(v, yStep));
    }
    lineTo(out, left, bottom, right, bottom, DPalette::chartAxis, 1.2);
    lineTo(out, left, bottom, left, top, DPalette::chartAxis, 1.2);
    if (hasXLabel)
        text(out, (left + right) / 2, height - 8, "middle", chart.xAxis->label());
    if (hasYLabel) {
        const double x = 6 + line / 2 + fontSize / 3;
        const double y = (top + bottom) / 2;
        const QString rotate =
            QStringLiteral(" transform=\"rotate(-90 %1 %2)\"").arg(num(x), num(y));
        text(out, x, y, "middle", chart.yAxis->label(), rotate.toLatin1().constData());
    }

    out << "<g fill=\"none\" stroke-width=\"2\">";
    for (int i = 0; i < chart.curves.size(); ++i) {
        const DCurve* curve = chart.curves[i];
        const QColor color =
            curve->color().isValid() ? curve->color() : DChartObject::defaultColor(i);
        out << "<polyline stroke=\"" << color.name() << "\" points=\"";
        for (const DItem* p = curve->first(); p; p = p->next()) {
            if (!finitePoint(p))
                continue;
            auto point = static_cast<const DPoint*>(p);
            // Points far outside the axes' range are held near the plot.
            const double x = qBound(left - 1000, mapX(point->x()), right + 1000);
            const double y = qBound(top - 1000, mapY(point->y()), bottom + 1000);
            out << num(x) << ',' << num(y) << ' ';
        }
        out << "\"/>";
    }
    out << "</g>";

    // The legend names the first curves only: it must fit in the plot.
    const int shown = int(qMin<qsizetype>(chart.curves.size(), maxLegend));
    double legendWidth = 0;
    for (int i = 0; i < shown; ++i)
        legendWidth = qMax(legendWidth, chart.curves[i]->label().size() * charWidth);
    legendWidth = qMin(legendWidth, width / 2);
    if (!chart.curves.isEmpty() && legendWidth > 0) {
        const double boxLeft = right - legendWidth - 36;
        const double boxTop = top + 6;
        out << "<rect x=\"" << num(boxLeft) << "\" y=\"" << num(boxTop) << "\" width=\""
            << num(legendWidth + 30) << "\" height=\"" << num(shown * line + 8)
            << "\" rx=\"3\" fill=\"#ffffff\" fill-opacity=\"0.9\" stroke=\""
            << DPalette::chartFrame.name() << "\"/>";
        for (int i = 0; i < shown; ++i) {
            const DCurve* curve = chart.curves[i];
            const QColor color =
                curve->color().isValid() ? curve->color() : DChartObject::defaultColor(i);
            const double y = boxTop + 4 + i * line + line / 2;
            lineTo(out, boxLeft + 6, y, boxLeft + 20, y, color, 2.5);
            text(out, boxLeft + 24, y + fontSize / 3, "start", curve->label());
        }
    }
    out << "</svg>";
}
