#ifndef QUNKNOWNINTERFACE_H
#define QUNKNOWNINTERFACE_H

#include <QUuid>

// Root of the component model shared by the host and its plug-ins: an
// interface asks an object for another of its interfaces by id.
class QUnknownInterface
{
public:
    virtual ~QUnknownInterface();
    // Sets *iface to the interface with the given id, or to null; returns
    // whether it was found.
    virtual bool queryInterface(const QUuid& id, QUnknownInterface** iface) = 0;
    virtual unsigned long addRef();
    virtual unsigned long release();
};

#endif
