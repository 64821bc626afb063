#include "qareporterdata.h"

#include "ddocument.h"

QAReporterData::~QAReporterData()
{
    delete tree.data();
    if (ownsDocument)
        delete document;
}
