#ifndef DIMAGE_H
#define DIMAGE_H

#include "ditem.h"

// An image, by file name, resolved against the view's search paths.
class DImage : public DItem
{
public:
    explicit DImage(const QString& source = QString());
    DImage(const DImage& other) = default;

    const QString& source() const { return m_source; }
    void setSource(const QString& source) { m_source = source; }

private:
    QString m_source;
};

#endif
