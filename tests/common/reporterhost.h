#ifndef REPORTERHOST_H
#define REPORTERHOST_H

#include "qareporter.h"
#include "recordingstudio.h"
#include "scopedpreferences.h"

#include <QMainWindow>

#include <memory>

// For suites that link the viewer: a recording host (of class Studio) with
// its main window and fresh viewer preferences for the life of the object,
// and viewer windows opened as the host opens them.
template <class Studio = RecordingStudio> struct ReporterHost
{
    ReporterHost()
    {
        studio.home = QStringLiteral(XRD_SOURCE_DIR "/resources");
        studio.window = &mainWindow;
        preferences = std::make_unique<ScopedPreferences>(&studio);
    }

    // A window that the test deletes, showing files when there are any.
    std::unique_ptr<QAReporter> open(QStringList files) const
    {
        auto window = std::make_unique<QAReporter>(QStringLiteral("Test Report"), QPixmap());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->resize(800, 600);
        if (!files.isEmpty())
            window->setFiles(&files, nullptr, QAStViewerWindow::Interactive);
        return window;
    }

    QMainWindow mainWindow;
    Studio studio;
    std::unique_ptr<ScopedPreferences> preferences;
};

#endif
