#ifndef SCREENSHOTS_H
#define SCREENSHOTS_H

#include <QDir>
#include <QString>

// The folder that XRD_SCREENSHOT_DIR names, created when missing; empty when
// the variable is unset or the folder cannot be made. Suites write
// screenshots only there and skip their screenshot tests otherwise.
inline QString screenshotDir()
{
    const QString dir = qEnvironmentVariable("XRD_SCREENSHOT_DIR");
    if (dir.isEmpty() || !QDir().mkpath(dir))
        return QString();
    return dir;
}

#define XRD_SCREENSHOT_SKIP_REASON "set XRD_SCREENSHOT_DIR to a folder to save screenshots"

#endif
