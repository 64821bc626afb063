#ifndef DHTMLCHART_H
#define DHTMLCHART_H

class DGraphic;
class QTextStream;

// Writes a graphic item as an inline SVG line chart, laid out like the
// view's chart: title, grid with round ticks, axis labels, one polyline
// per curve and a legend. Only the graphic's own axes and curves, and the
// curves' points, are read: two fixed levels, no walk.
class DHtmlChart
{
public:
    static void write(QTextStream& out, const DGraphic* graphic);
};

#endif
