#include "hostsdklogging.h"

Q_LOGGING_CATEGORY(lcResources, "xrd.resources")
