#include "qareporterrowindex.h"

qsizetype QAReporterRowIndex::size() const
{
    qsizetype count = 0;
    for (const Part& part : m_parts)
        count += part.size();
    return count;
}

void QAReporterRowIndex::clear()
{
    for (Part& part : m_parts)
        part.clear();
}
