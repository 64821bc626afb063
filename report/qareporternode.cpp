#include "qareporternode.h"

QAReporterNode::~QAReporterNode() = default;

QString QAReporterNode::statusWord() const
{
    if (state == QLatin1String("ok"))
        return QStringLiteral("ok");
    if (state == QLatin1String("ko"))
        return QStringLiteral("KO");
    if (state == QLatin1String("ne"))
        return QStringLiteral("ne");
    return QStringLiteral("--");
}
