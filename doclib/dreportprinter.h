#ifndef DREPORTPRINTER_H
#define DREPORTPRINTER_H

#include "dblocklayout.h"

#include <QLoggingCategory>
#include <QPalette>

class DReportModel;
class QPagedPaintDevice;

Q_DECLARE_LOGGING_CATEGORY(lcReportPrint)

// Prints the blocks of a model on pages: each block is laid out again for
// the page width, page breaks start new pages, blocks that do not fit go on
// the next page and blocks taller than a page go on over the following ones.
class DReportPrinter
{
public:
    // context is how the view lays blocks out (its width is replaced by
    // the page's); screenDpi is the resolution that sizes in pixels mean.
    DReportPrinter(const DReportModel& model, const DBlockLayout::Context& context, int screenDpi,
                   const QPalette& palette);

    // False when painting on the device cannot start.
    bool print(QPagedPaintDevice* device) const;
    // An A4 PDF file; false, with the reason logged, when it cannot be written.
    bool printToPdf(const QString& path, const QString& title) const;

private:
    const DReportModel& m_model;
    DBlockLayout::Context m_context;
    int m_screenDpi;
    QPalette m_palette;
};

#endif
