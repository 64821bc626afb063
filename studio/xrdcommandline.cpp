#include "xrdcommandline.h"

#include "qamessagebox.h"
#include "qastviewerplugin.h"
#include "qastviewerwindow.h"
#include "xrdconsolelog.h"
#include "xrdconsoleprogress.h"
#include "xrdoptions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTextStream>
#include <QTreeWidget>

#include <memory>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("XrdCommandLine", text);
}

// The viewer keeps the status word of an item under Qt::UserRole in
// column 1; items without one (files, groups) print "--".
QString statusWord(const QTreeWidgetItem* item)
{
    const QString word = item->data(1, Qt::UserRole).toString();
    return word.isEmpty() ? QStringLiteral("--") : word;
}

void appendLines(const QTreeWidgetItem* item, int depth, QStringList& lines)
{
    // Depth-first with an explicit stack: report trees can be deep.
    std::vector<std::pair<const QTreeWidgetItem*, int>> stack{{item, depth}};
    while (!stack.empty()) {
        const auto [current, level] = stack.back();
        stack.pop_back();
        lines << QString(level * 2, QLatin1Char(' ')) + statusWord(current) + QLatin1Char(' ') +
                     current->text(0);
        for (int i = current->childCount() - 1; i >= 0; --i)
            stack.emplace_back(current->child(i), level + 1);
    }
}

int distinctFileCount(const QStringList& files)
{
    QSet<QString> paths;
    for (const QString& file : files)
        paths.insert(QFileInfo(file).absoluteFilePath());
    return int(paths.size());
}

// The node types are the Commands menu's second section, between its
// first two separators (the filter entries come before, commands after).
QList<QAction*> typeEntries(const QMenu* menu)
{
    QList<QAction*> entries;
    int section = 0;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            ++section;
        else if (section == 1)
            entries << action;
    }
    return entries;
}

QString plainText(QString text)
{
    return text.remove(QLatin1Char('&'));
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
    case XrdOptions::Gui:
        break;
    }
    return UsageError;
}

QStringList XrdCommandLine::treeLines(const QTreeWidget* tree)
{
    QStringList lines;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        appendLines(tree->topLevelItem(i), 0, lines);
    return lines;
}

bool XrdCommandLine::hasFailedItem(const QTreeWidget* tree)
{
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it) {
        if (statusWord(*it) == QLatin1String("KO"))
            return true;
    }
    return false;
}

XrdCommandLine::ExitCode XrdCommandLine::outcome(const QTreeWidget* tree, const QStringList& files)
{
    // The viewer shows one top-level item per report it could read.
    if (!tree || tree->topLevelItemCount() < distinctFileCount(files))
        return FileUnreadable;
    return hasFailedItem(tree) ? TestFailed : AllPassed;
}

QTreeWidget* XrdCommandLine::treeOf(QAStViewerWindow* window)
{
    return window ? qobject_cast<QTreeWidget*>(window->contentOutlineWidget()) : nullptr;
}

QAStViewerWindow* XrdCommandLine::openWindow(const QStringList& files)
{
    QStringList list = files;
    return m_plugin->create(list, false, nullptr, "xrdview-cli");
}

int XrdCommandLine::summary(const XrdOptions& options)
{
    QStringList none;
    std::unique_ptr<QAStViewerWindow> window(m_plugin->create(none, false, nullptr, "xrdview-cli"));
    if (!window) {
        m_err << tr("xrdview: the plug-in opened no window") << Qt::endl;
        return FileUnreadable;
    }
    window->setNode(nullptr, options.testNode);
    QStringList files = options.files;
    m_out.flush();
    window->setFiles(&files, nullptr, QAStViewerWindow::Batch);
    return outcome(treeOf(window.get()), options.files);
}

int XrdCommandLine::tree(const XrdOptions& options)
{
    std::unique_ptr<QAStViewerWindow> window(openWindow(options.files));
    QTreeWidget* tree = treeOf(window.get());
    if (!tree) {
        m_err << tr("xrdview: the viewer shows no report tree") << Qt::endl;
        return FileUnreadable;
    }
    const ExitCode result = outcome(tree, options.files);
    if (options.failedOnly)
        QMetaObject::invokeMethod(window.get(), "failedtests");
    if (!options.hiddenTypes.isEmpty() && !hideTypes(window.get(), options.hiddenTypes))
        return UsageError;
    for (const QString& line : treeLines(tree))
        m_out << line << '\n';
    m_out.flush();
    return result;
}

int XrdCommandLine::exportHtml(const XrdOptions& options)
{
    std::unique_ptr<QAStViewerWindow> window(openWindow(options.files));
    QTreeWidget* tree = treeOf(window.get());
    if (!tree) {
        m_err << tr("xrdview: the viewer shows no report tree") << Qt::endl;
        return FileUnreadable;
    }
    const bool allRead = outcome(tree, options.files) != FileUnreadable;
    if (options.failedOnly)
        QMetaObject::invokeMethod(window.get(), "failedtests");
    XrdConsoleProgress progress;
    XrdConsoleLog log;
    m_err.flush();
    const bool exported =
        window->exportHTML(options.exportDir, QStringLiteral("index.html"), &progress, &log);
    if (!exported || log.errorCount() > 0) {
        m_err << tr("xrdview: the HTML export into %1 is incomplete").arg(options.exportDir)
              << Qt::endl;
        return FileUnreadable;
    }
    m_err << tr("xrdview: HTML written into %1").arg(options.exportDir) << Qt::endl;
    return allRead ? AllPassed : FileUnreadable;
}

// Loads the files as --summary does, then has the viewer write them as one
// report. Nothing is written when a file could not be read: the output
// would silently lack it.
int XrdCommandLine::convert(const XrdOptions& options)
{
    QStringList none;
    std::unique_ptr<QAStViewerWindow> window(m_plugin->create(none, false, nullptr, "xrdview-cli"));
    if (!window) {
        m_err << tr("xrdview: the plug-in opened no window") << Qt::endl;
        return FileUnreadable;
    }
    QStringList files = options.files;
    m_out.flush();
    window->setFiles(&files, nullptr, QAStViewerWindow::Batch);
    QTreeWidget* loaded = treeOf(window.get());
    if (!loaded || loaded->topLevelItemCount() < distinctFileCount(options.files)) {
        m_err << tr("xrdview: %1 was not written: a report could not be read")
                     .arg(options.convertOutput)
              << Qt::endl;
        return FileUnreadable;
    }
    QString error;
    if (!window->writeReport(options.convertOutput, &error)) {
        m_err << "xrdview: " << error << Qt::endl;
        return FileUnreadable;
    }
    const QString written =
        options.files.size() == 1
            ? tr("xrdview: wrote %1 from 1 report").arg(options.convertOutput)
            : tr("xrdview: wrote %1 from %2 reports")
                  .arg(options.convertOutput, QString::number(options.files.size()));
    m_err << written << Qt::endl;
    return AllPassed;
}

bool XrdCommandLine::hideTypes(QAStViewerWindow* window, const QStringList& types)
{
    // Without a main window the viewer puts its Commands menu in its own
    // menu bar; the menu fills itself as it is about to show.
    window->activated();
    QList<QAction*> entries;
    for (QAction* action : window->menuBar()->actions()) {
        if (QMenu* menu = action->menu()) {
            emit menu->aboutToShow();
            entries += typeEntries(menu);
        }
    }
    bool found = true;
    for (const QString& type : types) {
        auto match = std::find_if(entries.begin(), entries.end(), [&type](QAction* entry) {
            return plainText(entry->text()) == type;
        });
        if (match == entries.end()) {
            QStringList known;
            for (const QAction* entry : std::as_const(entries))
                known << plainText(entry->text());
            m_err << tr("xrdview: no node type \"%1\" in the reports; their types: %2")
                         .arg(type, known.join(QStringLiteral(", ")))
                  << Qt::endl;
            found = false;
            continue;
        }
        (*match)->trigger();
    }
    window->desactivated();
    return found;
}
