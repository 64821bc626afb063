#include "dlink.h"

DLink::DLink(const QString& target) : DItemContainer(Link), m_target(target) {}

DLink::DLink(Kind kind, const QString& target) : DItemContainer(kind), m_target(target) {}

void DLink::split(QString& file, QString& kind, QString& tag) const
{
    split(m_target, file, kind, tag);
}

void DLink::split(const QString& target, QString& file, QString& kind, QString& tag)
{
    file = QString(""), kind = QString(""), tag = QString("");
    const qsizetype last = target.lastIndexOf(QLatin1Char(':'));
    if (last < 0) {
        tag = target;
        return;
    }
    tag = target.mid(last + 1);
    const qsizetype middle = last > 0 ? target.lastIndexOf(QLatin1Char(':'), last - 1) : -1;
    if (middle < 0) {
        kind = target.left(last);
        return;
    }
    kind = target.mid(middle + 1, last - middle - 1);
    file = target.left(middle);
}
