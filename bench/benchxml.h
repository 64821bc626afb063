#ifndef BENCHXML_H
#define BENCHXML_H

#include <QString>

// The baseline every reader is measured against: a bare QXmlStreamReader
// loop over a file, namespace processing off, building nothing.
namespace BenchXml {
void bareLoop(const QString& path);
}

#endif
