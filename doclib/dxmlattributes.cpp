#include "dxmlattributes.h"

QStringView DXmlAttributes::name(int index) const
{
    const Span& span = m_spans[size_t(index)];
    return QStringView(m_text + span.nameStart, span.nameSize);
}

QStringView DXmlAttributes::value(int index) const
{
    const Span& span = m_spans[size_t(index)];
    return QStringView(m_text + span.valueStart, span.valueSize);
}

QStringView DXmlAttributes::value(QLatin1String name) const
{
    const int index = indexOf(name);
    return index < 0 ? QStringView() : value(index);
}

int DXmlAttributes::indexOf(QLatin1String name) const
{
    for (int index = 0; index < count(); ++index) {
        if (this->name(index) == name)
            return index;
    }
    return -1;
}

void DXmlAttributes::append(qsizetype nameStart, qsizetype nameSize, qsizetype valueStart,
                            qsizetype valueSize)
{
    m_spans.push_back({nameStart, nameSize, valueStart, valueSize});
}
