#include "xrdcommandline.h"

#include "qamessagebox.h"
#include "qastreportsession.h"
#include "qastviewerplugin.h"
#include "xrdconsolelog.h"
#include "xrdconsoleprogress.h"
#include "xrdoptions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

namespace {

// The translation context of the texts below, declared here so that
// lupdate files them under it too.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(XrdCommandLine)
};

int distinctFileCount(const QStringList& files)
{
    QSet<QString> paths;
    for (const QString& file : files)
        paths.insert(QFileInfo(file).absoluteFilePath());
    return int(paths.size());
}

} // namespace

XrdCommandLine::XrdCommandLine(QAStViewerPlugin* plugin, QTextStream& out, QTextStream& err)
    : m_plugin(plugin), m_out(out), m_err(err)
{
}

int XrdCommandLine::run(const XrdOptions& options)
{
    QAMessageBox::setCommandLineMode(true);
    switch (options.mode) {
    case XrdOptions::Summary:
        return summary(options);
    case XrdOptions::Tree:
        return tree(options);
    case XrdOptions::Convert:
        return convert(options);
    case XrdOptions::ExportHtml:
        return exportHtml(options);
    case XrdOptions::Compare:
        return compare(options);
    case XrdOptions::Group:
        return group(options);
    case XrdOptions::Record:
        return record(options);
    case XrdOptions::Flaky:
        return flaky(options);
    case XrdOptions::Gui:
        break;
    }
    return UsageError;
}

QStringList XrdCommandLine::treeLines(QAStReportSession& session)
{
    QStringList lines;
    session.walkTree([&lines](const QAStReportSession::TreeEntry& entry) {
        lines << QString(entry.depth * 2, QLatin1Char(' ')) + entry.status + QLatin1Char(' ') +
                     entry.name;
    });
    return lines;
}

XrdCommandLine::ExitCode XrdCommandLine::outcome(QAStReportSession& session,
                                                 const QStringList& files)
{
    // The tree shows one file entry per report that could be read.
    int shownFiles = 0;
    bool failed = false;
    session.walkTree([&](const QAStReportSession::TreeEntry& entry) {
        shownFiles += entry.depth == 0;
        failed = failed || entry.status == QLatin1String("KO");
    });
    if (shownFiles < distinctFileCount(files))
        return FileUnreadable;
    return failed ? TestFailed : AllPassed;
}

std::unique_ptr<QAStReportSession> XrdCommandLine::openSession(const QStringList& files)
{
    std::unique_ptr<QAStReportSession> session = m_plugin->createSession();
    if (!session) {
        m_err << Texts::tr("xrdview: the plug-in offers no report session") << Qt::endl;
        return nullptr;
    }
    m_out.flush();
    session->open(files);
    return session;
}

int XrdCommandLine::summary(const XrdOptions& options)
{
    std::unique_ptr<QAStReportSession> session = openSession(options.files);
    if (!session)
        return FileUnreadable;
    m_out << session->totalsText(options.testNode);
    m_out.flush();
    return outcome(*session, options.files);
}

int XrdCommandLine::tree(const XrdOptions& options)
{
    std::unique_ptr<QAStReportSession> session = openSession(options.files);
    if (!session)
        return FileUnreadable;
    const ExitCode result = outcome(*session, options.files);
    if (options.failedOnly)
        session->setFailedOnly(true);
    if (!options.hiddenTypes.isEmpty() && !hideTypes(*session, options.hiddenTypes))
        return UsageError;
    for (const QString& line : treeLines(*session))
        m_out << line << '\n';
    m_out.flush();
    return result;
}

int XrdCommandLine::exportHtml(const XrdOptions& options)
{
    std::unique_ptr<QAStReportSession> session = openSession(options.files);
    if (!session)
        return FileUnreadable;
    const bool allRead = outcome(*session, options.files) != FileUnreadable;
    if (session->loadedFiles().isEmpty()) {
        m_err << Texts::tr("xrdview: nothing written into %1: no report could be read")
                     .arg(options.exportDir)
              << Qt::endl;
        return FileUnreadable;
    }
    if (options.failedOnly)
        session->setFailedOnly(true);
    XrdConsoleProgress progress;
    XrdConsoleLog log;
    m_err.flush();
    const bool exported = session->exportHtml(options.exportDir, &progress, &log);
    if (!exported || log.errorCount() > 0) {
        m_err << Texts::tr("xrdview: the HTML export into %1 is incomplete").arg(options.exportDir)
              << Qt::endl;
        return FileUnreadable;
    }
    if (!allRead) {
        m_err << Texts::tr(
                     "xrdview: HTML written into %1 without the reports that could not be read")
                     .arg(options.exportDir)
              << Qt::endl;
        return FileUnreadable;
    }
    m_err << Texts::tr("xrdview: HTML written into %1").arg(options.exportDir) << Qt::endl;
    return AllPassed;
}

// Reads the files as --summary does, then writes them as one report.
// Nothing is written when a file could not be read: the output would
// silently lack it.
int XrdCommandLine::convert(const XrdOptions& options)
{
    std::unique_ptr<QAStReportSession> session = openSession(options.files);
    if (!session)
        return FileUnreadable;
    m_out << session->totalsText(QString());
    m_out.flush();
    if (outcome(*session, options.files) == FileUnreadable) {
        m_err << Texts::tr("xrdview: %1 was not written: a report could not be read")
                     .arg(options.convertOutput)
              << Qt::endl;
        return FileUnreadable;
    }
    QString error;
    if (!session->writeReport(options.convertOutput, &error)) {
        m_err << "xrdview: " << error << Qt::endl;
        return FileUnreadable;
    }
    const QString written =
        options.files.size() == 1
            ? Texts::tr("xrdview: wrote %1 from 1 report").arg(options.convertOutput)
            : Texts::tr("xrdview: wrote %1 from %2 reports")
                  .arg(options.convertOutput, QString::number(options.files.size()));
    m_err << written << Qt::endl;
    return AllPassed;
}

bool XrdCommandLine::hideTypes(QAStReportSession& session, const QStringList& types)
{
    const QStringList known = session.nodeTypes();
    bool found = true;
    for (const QString& type : types) {
        if (!known.contains(type)) {
            m_err << Texts::tr("xrdview: no node type \"%1\" in the reports; their types: %2")
                         .arg(type, known.join(QStringLiteral(", ")))
                  << Qt::endl;
            found = false;
            continue;
        }
        session.setTypeHidden(type, true);
    }
    return found;
}

int XrdCommandLine::compare(const XrdOptions& options)
{
    std::unique_ptr<QAStReportSession> session = openSession(options.files);
    if (!session || outcome(*session, options.files) == FileUnreadable)
        return FileUnreadable;
    QString text;
    bool newFailure = false;
    if (!session->compareWith(options.earlierRun, &text, &newFailure))
        return FileUnreadable;
    m_out << text;
    m_out.flush();
    return newFailure ? TestFailed : AllPassed;
}

int XrdCommandLine::group(const XrdOptions& options)
{
    std::unique_ptr<QAStReportSession> session = openSession(options.files);
    if (!session)
        return FileUnreadable;
    m_out << session->failureGroupsText();
    m_out.flush();
    return outcome(*session, options.files) == FileUnreadable ? FileUnreadable : AllPassed;
}

int XrdCommandLine::record(const XrdOptions& options)
{
    std::unique_ptr<QAStReportSession> session = openSession(options.files);
    if (!session)
        return FileUnreadable;
    const bool unreadable = outcome(*session, options.files) == FileUnreadable;
    QString error;
    QString text;
    const bool recorded =
        session->openHistory(options.historyUrl, &error) && session->recordRuns(&text, &error);
    m_out << text;
    m_out.flush();
    if (!recorded) {
        m_err << "xrdview: " << error << Qt::endl;
        return FileUnreadable;
    }
    return unreadable ? FileUnreadable : AllPassed;
}

int XrdCommandLine::flaky(const XrdOptions& options)
{
    std::unique_ptr<QAStReportSession> session = m_plugin->createSession();
    QString error = Texts::tr("the plug-in offers no report session");
    if (!session || !session->openHistory(options.historyUrl, &error)) {
        m_err << "xrdview: " << error << Qt::endl;
        return FileUnreadable;
    }
    m_out << session->flakyText(options.lastRuns);
    m_out.flush();
    return AllPassed;
}
