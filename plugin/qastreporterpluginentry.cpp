// The library's entry points for the host's plug-in loader, with C linkage
// so that the loader finds them by name.

#include "qastreporterplugin.h"

#include <QtGlobal>

extern "C" {

// Read by the loader before it instantiates: the toolkit version,
// configuration flags and build key the plug-in was built for.
Q_DECL_EXPORT const char* qt_ucm_query_verification_data()
{
    return "pattern=QT_UCM_VERIFICATION_DATA\n"
           "version=3.3.8\n"
           "flags=11\n"
           "buildkey=unspecified";
}

// A new plug-in object on each call; the host owns it.
Q_DECL_EXPORT QUnknownInterface* ucm_instantiate()
{
    auto* plugin = new QAStReporterPlugin;
    return plugin->iface();
}
}
