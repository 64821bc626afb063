#ifndef QAREPORTER_H
#define QAREPORTER_H

#include "qareporterhistory.h"
#include "qareporterrowindex.h"
#include "qareportsession.h"
#include "qarlistview.h"
#include "qartoolbar.h"
#include "qastviewerwindow.h"

#include <QHash>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <memory>

class DDocument;
class DItem;
class DLink;
class DReportWidget;
class QAction;
class QAReporterData;
class QAReporterDocumentWindow;
class QARListViewItem;
class QAReporterHeaderSize;
class QAReporterHistoryStore;
class QAReporterNode;
class QAReportSession;
class QAReportStream;
class QThread;
class QAReporterLoadingBar;
class QAReporterTreeGrower;
class QARPopupMenu;
class QAStudioInterface;
class QDockWidget;
class QTreeWidgetItem;

// The report viewer window: the report documents in the central view, the
// summary of every loaded file in a header dock above it, and the report
// tree, which the host shows in its outline pane. The reports themselves,
// what is shown of them and where links lead belong to its report session;
// the window shows the session and turns the user's actions (every command
// of the viewer is a slot) into calls of it. The window reads the
// process-wide preferences; it is built only once they exist.
class QAReporter : public QAStViewerWindow
{
    Q_OBJECT

public:
    QAReporter(const QString& title, const QPixmap& icon, QWidget* parent = nullptr,
               Qt::WindowFlags flags = {}, bool activateDisplay = true);
    ~QAReporter() override;

    QWidget* contentOutlineWidget() override;
    bool hasContentOutline() const override { return true; }
    bool canSave() const override { return false; }
    bool canSaveAs() const override { return true; }
    bool canPrint() const override { return true; }
    bool canCopy() const override { return true; }
    bool canPaste() const override { return false; }
    bool canCut() const override { return false; }
    bool canUndo() const override { return false; }
    bool canRedo() const override { return false; }
    bool canDelete() const override { return false; }
    bool canSelectAll() const override { return false; }
    bool canFind() const override { return true; }
    bool canReplace() const override { return false; }
    bool canGoTo() const override { return false; }
    bool canExport() const override { return true; }
    bool canZoom() const override { return false; }
    bool canExportHTML() const override { return true; }
    bool canFilter() const override { return false; }
    bool canRunMacro() const override { return false; }

    void setFiles(QStringList* files, QStringList* other, ViewerMode mode) override;
    QStringList loadedFiles() const override;
    void scrollToTag(const QString& tag, int line, int column) override;
    // Writes the loaded reports (all of them, whatever the view filters)
    // as one report file; totals no node can carry are warned about.
    bool writeReport(const QString& path, QString* error) override;
    bool exportHTML(const QString& dir, const QString& indexName, QAIProgressMonitor* progress,
                    QAILogMonitor* log) override;
    virtual void setTestNode(QAStWorkspace* workspace, const QString& name);
    // The header dock's height, as the user left it.
    QByteArray saveViewState() const override;
    void restoreViewState(const QByteArray& state) override;

    // Reads the files into records, skipping those already loaded, and
    // assembles them when any was read. Unreadable files are listed in one
    // warning. False when memory ran out; the records read before stay.
    bool loadReports(QStringList* files);
    // Rebuilds tree, documents and summary from the records, unless the view
    // is up to date; the document view stays on the item it showed, by name.
    void assembleDocuments();
    // Shows only failed tests, offering the complete report when none failed.
    void showFailedTests();
    // Compares the window's run with the earlier run of earlierFile: shows
    // the comparison in a window of its own and marks the new failures in
    // the report tree. Null, after saying why, when the file cannot be read.
    QAReporterDocumentWindow* compareWith(const QString& earlierFile);
    // The tests that both passed and failed in the last runs of the run
    // history, in a window of their own; null when the history cannot be
    // opened (said once a store).
    QAReporterDocumentWindow* showFlakyTests();
    // Whether the tree marks the node, of the report file, as a new failure.
    bool isNewFailure(const QString& file, const QAReporterNode* node) const;
    qint64 failedTotal() const;
    qint64 passedTotal() const;

    // The node that gives a link of the shown documents its base directory:
    // the innermost node around it, or its nearest ancestor with a base, or
    // the root of its report. Constant time.
    QAReporterNode* findLinkNode(const DLink* link) const;

    // The reports the window shows.
    const QAReportSession& session() const { return *reportSession; }
    // The window's state, for the plug-in, export and tests.
    const QStringList& files() const;
    const QList<QAReporterData*>& records() const;
    const QStringList& types() const;
    QARListView* reportTree() const { return treeView; }
    DReportWidget* reportView() const { return documentView; }
    DReportWidget* summaryView() const { return headerView; }
    QDockWidget* summaryDock() const { return headerDock; }
    DDocument* summary() const;
    bool isHeaderShown() const { return headerShown; }
    // Report files at least this large open progressively (see
    // QAReportStream); smaller ones are read before they show.
    static void setStreamingThreshold(qint64 bytes);
    static qint64 streamingThreshold();
    // Whether a report is still being read into the window (or what was
    // read is being assembled).
    bool isStreaming() const;
    // Stops reading; what was read so far stays, marked incomplete.
    void cancelReading();
    bool isUpToDate() const { return viewUpToDate; }
    QARToolBar* reporterToolBar() const { return toolBar; }
    QARPopupMenu* reportTreeMenu() const { return treePopup; }
    QAction* treeSubmitAction() const { return submitItem; }
    // The item last selected in the report tree, or null.
    QTreeWidgetItem* selectedTreeItem() const { return selectedItem; }
    QMenu* commands() const { return commandsMenu; }
    QString windowTitleText() const { return title; }
    const QRegularExpression& lastSearch() const { return searchPattern; }
    QAction* backCommand() const { return backAction; }
    QAction* forwardCommand() const { return forwardAction; }

signals:
    // New documents were put into the views.
    void viewUpdated();

public slots:
    void updateToolMenu();
    void activated() override;
    void desactivated() override;
    void save() override;
    void saveAs() override;
    void print() override;
    virtual void printHeader();
    void copy() override;
    void paste() override;
    void cut() override;
    void undo() override;
    void redo() override;
    void del() override;
    void selectAll() override;
    void find();
    void find(const QString& text) override;
    void findNext() override;
    void findPrevious() override;
    // Back to the files and place shown before a report link was followed,
    // and forward again.
    void goBack();
    void goForward();
    void replace() override;
    void goTo() override;
    void reload() override;
    void reload(const QString& path);
    void showPopupMenu(QTreeWidgetItem* item, const QPoint& pos, int column);
    void zoomIn() override;
    void zoomOut() override;
    void zoom(int percent) override;
    void mnFilter() override;
    void nextKO();
    void prevKO();
    void switchFilter();
    void typeCheck(int id);
    void showDock(int id);
    void alltests();
    void failedtests();
    void highlighted(int id);
    void mainwindowDestroyed();
    void moveDoc(QTreeWidgetItem* item);
    void moveDocRaise(QTreeWidgetItem* item);
    void moveDoc(const QString& target);
    void resolveLink(DLink* link);
    void activateHeader(DLink* link);
    void contextMenu(QTreeWidgetItem* item, const QPoint& pos, int column);
    void gotoMenu();
    void selItemChanged(QTreeWidgetItem* item);
    void submitTallyvane();
    void exportDoc() override;
    void reloadFiles() override;
    // Asks for an earlier run's file and compares with it.
    void compareWith();
    void flakyTests();

private slots:
    void findDialogSearch(const QRegularExpression& pattern);
    void applyPrefs();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class BusyScope;
    static QAStudioInterface* host();
    void buildViews();
    void buildTree();
    void connectSignals();
    void attachToolBar();
    void fillTree();
    void clearTree();
    void showDocuments();
    void showAllTests();
    void clearViews();
    void showHeaderDock();
    void hideHeaderDock();
    // Moves the document view to a link target (file, kind and tag).
    void moveToTarget(const QString& target);
    void raiseDocumentView(bool always);
    void updateSubmitText(QAction* action, QTreeWidgetItem* item) const;
    QAction* commandsAction(int id) const;
    void insertCommands();
    void buildKeyboardCommands();
    QAReporterHistory::Place currentPlace() const;
    void markNewFailure(QARListViewItem* item, const QString& file);
    // The record shown of a report file of the window, or null.
    const QAReporterData* shownRecord(const QString& file) const;
    // The history store of the preferences, opened; null when it cannot be.
    QAReporterHistoryStore* openHistory();
    // Records the runs of the records from index first on, when the user
    // keeps a history, marks their failed cases with their recent states
    // and gives the summary the trend of the last runs.
    void useHistory(qsizetype first);
    void showPlace(const QAReporterHistory::Place& place);
    // Shows other files in the window; the host renames its tab after them.
    void showFiles(const QStringList& files);
    void updateHistoryCommands();
    // Selects the tree item of the place the document view shows, without
    // moving the view again.
    void selectTreeItemShown();
    void placeFindDialog();
    // Reads the file progressively when it is a large report alone.
    bool streams(const QStringList& files) const;
    void startStream(const QString& path);
    void streamGrew();
    void streamFinished();
    void showStreamedRecord(QAReporterData* record);
    void assemblyDone();
    void reserveStreamedBlocks();
    void growStreamTree();

    bool viewUpToDate = false;
    std::unique_ptr<QAReportSession> reportSession;
    QTreeWidgetItem* selectedItem = nullptr;
    bool active = true;
    bool mainWindowGone = false;
    QDockWidget* headerDock = nullptr;
    DReportWidget* headerView = nullptr;
    DReportWidget* documentView = nullptr;
    bool headerShown = false;
    int commandsItemId = 0;
    int printHeaderItemId = -1;
    int commandsMenuId = -1;
    QPointer<QMenu> commandsMenu;
    QARPopupMenu* treePopup = nullptr;
    QPointer<QARListView> treeView;
    // The tree item of each place of the report where an item starts.
    QAReporterRowIndex treeItemAt;
    // The new failures of the last comparison, by report file and node id;
    // dropped when the files are read again.
    QSet<QString> newFailures;
    std::unique_ptr<QAReporterHistoryStore> historyStore;
    QAReporterLoadingBar* loadingBar = nullptr;
    std::unique_ptr<QAReporterTreeGrower> streamTree;
    bool streamTreeDue = false; // a growth of streamTree is queued
    std::unique_ptr<QAReportStream> stream;
    bool assemblyPending = false; // asked for while the report was read
    bool streamReserved = false;  // the view has room for the whole report
    std::unique_ptr<QThread> assembler;
    std::unique_ptr<QAReportSession::Assembly> assembled; // by the assembler
    QString historyUrl;
    int allTestsItemId = -1;
    int failedTestsItemId = -1;
    QAction* submitItem = nullptr;
    int submitCommandItemId = -1;
    QString title;
    QRegularExpression searchPattern;
    QPointer<QARToolBar> toolBar;
    // Loads and assemblies under way; a reload asked for meanwhile waits.
    int busyDepth = 0;
    bool reloadPending = false;
    QAReporterHistory history;
    QAction* backAction = nullptr;
    QAction* forwardAction = nullptr;
    QAReporterHeaderSize* headerSize = nullptr;
};

// The open viewer windows, in order of creation; the list does not own them.
QList<QAReporter*>& reporterWindows();

#endif
