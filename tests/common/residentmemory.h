#ifndef RESIDENTMEMORY_H
#define RESIDENTMEMORY_H

#include <QFile>
#include <QList>

// Resident memory of this process in bytes, -1 where it cannot be read.
inline qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * 4096 : -1;
}

#endif
