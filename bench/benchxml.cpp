#include "benchxml.h"

#include <QFile>
#include <QXmlStreamReader>

void BenchXml::bareLoop(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader xml(&file);
    xml.setNamespaceProcessing(false);
    while (!xml.atEnd())
        xml.readNext();
}
