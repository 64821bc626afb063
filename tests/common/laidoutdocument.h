#ifndef LAIDOUTDOCUMENT_H
#define LAIDOUTDOCUMENT_H

#include "dlayoutcache.h"
#include "documentitems.h"
#include "dreportmodel.h"

#include <QApplication>

#include <functional>
#include <memory>

// A document read from AML with its block model and layouts, set up as a
// view sets them up for the given width, but without a widget.
struct LaidOutDocument
{
    std::unique_ptr<DDocument> doc;
    DReportModel model;
    DLayoutCache layouts{model};

    explicit LaidOutDocument(const QByteArray& aml, int width = 500,
                             std::function<QString(const QString&)> findFile = nullptr)
        : doc(readAml(aml))
    {
        DBlockLayout::Context context;
        context.font = QApplication::font();
        context.width = width;
        context.findFile = std::move(findFile);
        context.expanded = &model.expanded();
        layouts.setContext(context);
        model.setMetrics(DReportModel::Metrics::of(context.font, width));
        model.addDocument(doc.get());
    }
};

#endif
