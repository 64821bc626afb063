#ifndef XRODRECORDS_H
#define XRODRECORDS_H

#include "qareporterdata.h"
#include "qareporterdatatree.h"
#include "qastxmlrodhandler.h"
#include "qastxmlrodreader.h"

#include <QBuffer>
#include <QtDebug>

#include <memory>

class DStyle;

// The record read from report markup, its items given the styles: null
// when the markup cannot be read, with the reason in error or, when error
// is null, in a warning.
inline std::unique_ptr<QAReporterData>
readRecord(const QByteArray& xrod, const QList<DStyle*>& styles = {}, QString* error = nullptr)
{
    QBuffer buffer;
    buffer.setData(xrod);
    buffer.open(QIODevice::ReadOnly);
    QAstXmlRodReader reader;
    reader.handler()->setStyles(styles);
    if (!reader.parse(&buffer, nullptr, nullptr)) {
        if (error)
            *error = reader.errorString();
        else
            qWarning() << "report not read:" << reader.errorString();
        return nullptr;
    }
    return reader.takeRecord(QString());
}

#endif
