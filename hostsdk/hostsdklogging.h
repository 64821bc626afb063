#ifndef HOSTSDKLOGGING_H
#define HOSTSDKLOGGING_H

#include <QLoggingCategory>

// Faults the host SDK meets in its input (resource files), which it works
// round but must not hide.
Q_DECLARE_LOGGING_CATEGORY(lcResources)

#endif
