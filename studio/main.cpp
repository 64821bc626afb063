// xrdview: the report viewer's host program. It loads the viewer plug-in,
// gives it the application interface and the saved settings, and then
// either shows the main window or runs one command-line request.

#include "qaresgroup.h"
#include "qastviewerplugin.h"
#include "xrdcommandline.h"
#include "xrdinstallpaths.h"
#include "xrdmainwindow.h"
#include "xrdoptions.h"
#include "xrdpluginloader.h"
#include "xrdresourcefile.h"
#include "xrdstudio.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

#include <cstring>
#include <memory>
#include <vector>

namespace {

QStringList argumentList(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Qt reads "--plugin NAME" as its own option (an input plug-in to load) and
// complains about the viewer's: the arguments it gets go without it.
std::vector<char*> qtArguments(int argc, char* argv[])
{
    std::vector<char*> kept;
    bool options = true;
    for (int i = 0; i < argc; ++i) {
        if (options && i > 0 && std::strcmp(argv[i], "--plugin") == 0) {
            ++i;
            continue;
        }
        options = options && std::strcmp(argv[i], "--") != 0;
        kept.push_back(argv[i]);
    }
    kept.push_back(nullptr);
    return kept;
}

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

// A plug-in the user names (--plugin, else $XRD_PLUGIN) is the one to load:
// when it cannot be, that is an error, not a reason to take another one.
bool loadPlugin(XrdPluginLoader& loader, const XrdOptions& options, const XrdInstallPaths& paths,
                QTextStream& err)
{
    const QString variable = qEnvironmentVariable("XRD_PLUGIN");
    const QString named = options.pluginPath.isEmpty() ? variable : options.pluginPath;
    if (named.isEmpty() ? loader.load(paths.pluginCandidates()) : loader.loadFile(named))
        return true;
    err << "xrdview: " << loader.errorString();
    if (options.pluginPath.isEmpty() && !variable.isEmpty())
        err << QApplication::translate("xrdview", " (named by XRD_PLUGIN)");
    err << Qt::endl;
    return false;
}

// The program's translation for the user's languages, from the installed
// prefix or, in the build tree, from beside the program; with it Qt's own
// (the command-line parser's and the dialogs' texts) in the same language,
// when Qt's translations are installed.
void installTranslations(QTranslator& own, QTranslator& qt, const XrdInstallPaths& paths)
{
    for (const QString& folder : paths.translationDirectories()) {
        if (own.load(QLocale(), QStringLiteral("xrdview"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(&own);
            break;
        }
    }
    if (!own.isEmpty() && qt.load(QStringLiteral("qtbase_") + own.language(),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
}

} // namespace

int main(int argc, char* argv[])
{
    const XrdOptions early = XrdOptions::parse(argumentList(argc, argv));
    // Command-line runs work without a display, whatever the session has.
    if (!early.needsDisplay()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (!hasDisplay()) {
        QTextStream(stderr) << "xrdview: no display for the window; use --summary or --tree\n";
        return XrdCommandLine::UsageError;
    }
    std::vector<char*> qtArgv = qtArguments(argc, argv);
    int qtArgc = int(qtArgv.size()) - 1;
    // Command-line runs get no widget application: they work on the
    // plug-in's report session, and a widget made by mistake stops the run.
    const std::unique_ptr<QGuiApplication> app =
        early.needsDisplay() ? std::make_unique<QApplication>(qtArgc, qtArgv.data())
                             : std::make_unique<QGuiApplication>(qtArgc, qtArgv.data());
    QGuiApplication::setApplicationName(QStringLiteral("xrdview"));
    QGuiApplication::setApplicationVersion(QStringLiteral(XRD_VERSION));
    const XrdInstallPaths paths(QCoreApplication::applicationDirPath(),
                                QStringLiteral(XRD_SOURCE_RESOURCES));
    QTranslator translator;
    QTranslator qtTranslator;
    installTranslations(translator, qtTranslator, paths);
    // Parsed again, now that its messages can be in the user's language.
    const XrdOptions options = XrdOptions::parse(argumentList(argc, argv));

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!options.error.isEmpty()) {
        err << "xrdview: " << options.error << "\n"
            << QCoreApplication::translate("xrdview",
                                           "Try 'xrdview --help' for more information.\n");
        return XrdCommandLine::UsageError;
    }
    if (options.help || options.version) {
        out << (options.help ? XrdOptions::helpText()
                             : QStringLiteral("xrdview %1\n").arg(QStringLiteral(XRD_VERSION)));
        return 0;
    }

    XrdPluginLoader loader;
    if (!loadPlugin(loader, options, paths, err))
        return XrdCommandLine::UsageError;
    XrdStudio studio(paths);
    XrdResourceFile resourceFile(XrdResourceFile::defaultPath());
    const std::unique_ptr<QAResGroup> resources = resourceFile.read();
    if (options.mode != XrdOptions::Gui) {
        loader.plugin()->initialize(&studio, resources.get());
        return XrdCommandLine(loader.plugin(), out, err).run(options);
    }

    XrdMainWindow window(&studio, loader.plugin(), &resourceFile);
    loader.plugin()->initialize(&studio, resources.get());
    window.show();
    window.openFiles(options.files);
    return QApplication::exec();
}
