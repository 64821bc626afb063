#include "qareporterdata.h"

#include "ddocument.h"

QAReporterData::~QAReporterData()
{
    delete tree.data();
}
