#ifndef DXMLLOCATOR_H
#define DXMLLOCATOR_H

#include <QtGlobal>

// Where in its input the event being reported was found, for messages.
class DXmlLocator
{
public:
    virtual ~DXmlLocator() = default;
    virtual qint64 lineNumber() const = 0;
    virtual qint64 columnNumber() const = 0;
};

#endif
