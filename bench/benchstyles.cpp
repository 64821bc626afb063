#include "benchstyles.h"

#include "benchfiles.h"

#include <damlhandler.h>
#include <damlreader.h>
#include <dstyle.h>

#include <QFile>

BenchStyles::BenchStyles()
{
    m_path = BenchFiles::sourceFile(QStringLiteral("resources/lib/reporterstyle.aml"));
    QFile file(m_path);
    if (m_path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("style file resources/lib/reporterstyle.aml not found");
        return;
    }
    DAmlHandler handler;
    handler.setEnabledLocalStyle(true);
    DAmlReader reader;
    reader.setContentHandler(&handler);
    if (!reader.parse(&file)) {
        m_error = handler.errorString();
        return;
    }
    m_styles = handler.takeStyles();
}

BenchStyles::~BenchStyles()
{
    qDeleteAll(m_styles);
}
