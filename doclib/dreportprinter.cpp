#include "dreportprinter.h"

#include "ditem.h"
#include "dpalette.h"
#include "dreportmodel.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

Q_LOGGING_CATEGORY(lcReportPrint, "xrd.doclib.print")

DReportPrinter::DReportPrinter(const DReportModel& model, const DBlockLayout::Context& context,
                               int screenDpi, const QPalette& palette)
    : m_model(model), m_context(context), m_screenDpi(qMax(1, screenDpi)), m_palette(palette)
{
    m_context.wordWrap = true;
    m_palette.setColor(QPalette::Text, DPalette::text);
}

bool DReportPrinter::printToPdf(const QString& path, const QString& title) const
{
    QPdfWriter writer(path);
    if (!writer.setPageSize(QPageSize(QPageSize::A4))) {
        qCWarning(lcReportPrint) << "cannot print" << path << ": the A4 page size is refused";
        return false;
    }
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(title);
    if (print(&writer))
        return true;
    // The writer only fails to start when it cannot open its file: say why.
    QFile probe(path);
    const QString reason = probe.open(QIODevice::WriteOnly | QIODevice::Append)
                               ? QStringLiteral("the PDF writer did not start")
                               : probe.errorString();
    qCWarning(lcReportPrint).noquote() << "cannot write" << path << ":" << reason;
    return false;
}

bool DReportPrinter::print(QPagedPaintDevice* device) const
{
    QPainter painter;
    if (!painter.begin(device))
        return false;
    // Lay out at screen resolution and scale: sizes in pixels (graphics,
    // images) keep their proportion to the text on paper.
    const qreal scale = device->logicalDpiY() / qreal(m_screenDpi);
    const QRect page = device->pageLayout().paintRectPixels(device->logicalDpiX());
    const qreal pageWidth = page.width() / scale;
    const qreal pageHeight = page.height() / scale;
    painter.scale(scale, scale);
    DBlockLayout::Context context = m_context;
    context.width = pageWidth;

    qreal y = 0;
    bool pageUsed = false;
    auto newPage = [&]() {
        device->newPage();
        y = 0;
        pageUsed = false;
    };
    for (int index = 0; index < m_model.blockCount(); ++index) {
        const DReportModel::Block& blockInfo = m_model.block(index);
        if (blockInfo.item->kind() == DItem::PageBreak && blockInfo.rows == 0) {
            if (pageUsed)
                newPage();
            continue;
        }
        const DBlockLayout layout(blockInfo.item, blockInfo.rows, context);
        const qreal height = layout.height();
        if (height <= 0)
            continue;
        if (pageUsed && y + height > pageHeight && height <= pageHeight)
            newPage();
        // A block taller than a page goes on over the following pages.
        qreal done = 0;
        while (done < height) {
            if (y >= pageHeight)
                newPage();
            const qreal slice = qMin(pageHeight - y, height - done);
            QAbstractTextDocumentLayout::PaintContext paint;
            paint.palette = m_palette;
            paint.clip = QRectF(0, done, pageWidth, slice);
            painter.save();
            painter.translate(0, y - done);
            painter.setClipRect(paint.clip);
            layout.document()->documentLayout()->draw(&painter, paint);
            painter.restore();
            done += slice;
            y += slice;
            pageUsed = true;
        }
    }
    painter.end();
    return true;
}
