#include "qareporter.h"

#include "ddocument.h"
#include "dlink.h"
#include "dreportwidget.h"
#include "qalinktarget.h"
#include "qamessagebox.h"
#include "qapixmapcenter.h"
#include "qaprogresspulse.h"
#include "qareportercases.h"
#include "qareportercommands.h"
#include "qareportercomparison.h"
#include "qareportercomparisondocument.h"
#include "qareporterdata.h"
#include "qareporterdocumentwindow.h"
#include "qareporterflakydocument.h"
#include "qareporterheadersize.h"
#include "qareporterhistorystore.h"
#include "qareporterlinktarget.h"
#include "qareporterloadingbar.h"
#include "qareporternotices.h"
#include "qareporterpref.h"
#include "qareporterprefgeneral.h"
#include "qareporterprefhistory.h"
#include "qareporterprefstyles.h"
#include "qareportertreegrower.h"
#include "qareportsession.h"
#include "qareportstream.h"
#include "qaresultimporter.h"
#include "qarlistview.h"
#include "qarlistviewitem.h"
#include "qarpopupmenu.h"
#include "qartoolbar.h"
#include "qastoutputwidget.h"
#include "qastudiointerface.h"
#include "qastworkspace.h"
#include "qaviewerfinddialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDataStream>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QTreeWidgetItemIterator>

#include <cstdio>

namespace {

// Ids of the Commands menu entries that have fixed ones; the others get
// ids from firstAutoId on, given anew each time the menu is built.
enum CommandId {
    AllTestsId = 100,
    FailedTestsId = 101,
    ReloadId = 102,
    GenerateHtmlId = 105,
    PreviousFailedId = 106,
    NextFailedId = 107,
    BackId = 108,
    ForwardId = 109,
    CompareId = 110,
    FlakyId = 111,
    FirstAutoId = 1000
};

int windowCounter = 0;
QPointer<QAViewerFindDialog> findDialog;

bool autoRaise()
{
    const QAReporterPref* preferences = reporterPreferences();
    return preferences && preferences->general()->autoRaise();
}

void writeStandardOutput(const QByteArray& text)
{
    std::fputs(text.constData(), stdout);
    std::fflush(stdout);
}

} // namespace

// Loading and assembling report progress to the host, which may run its
// event loop meanwhile; a reload asked for then (a watched file changed
// again) waits until the window is done, instead of pulling the records
// from under the work in progress.
class QAReporter::BusyScope
{
public:
    explicit BusyScope(QAReporter* window) : m_window(window) { ++m_window->busyDepth; }
    ~BusyScope()
    {
        if (--m_window->busyDepth == 0 && m_window->reloadPending) {
            m_window->reloadPending = false;
            QTimer::singleShot(0, m_window, qOverload<>(&QAReporter::reload));
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    QAReporter* m_window;
};

QList<QAReporter*>& reporterWindows()
{
    static QList<QAReporter*> windows;
    return windows;
}

QAStudioInterface* QAReporter::host()
{
    const QAReporterPref* preferences = reporterPreferences();
    return preferences ? preferences->studio() : nullptr;
}

QAReporter::QAReporter(const QString& title, const QPixmap& icon, QWidget* parent,
                       Qt::WindowFlags flags, bool activateDisplay)
    : QAStViewerWindow(parent, flags), reportSession(std::make_unique<QAReportSession>()),
      title(title)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setActivateDisplay(activateDisplay);
    reporterWindows().append(this);

    QAStudioInterface* studio = host();
    if (studio && studio->mainWindow())
        setWindowTitle(QStringLiteral("%1 [%2]").arg(title).arg(++windowCounter));
    else
        setWindowTitle(title);
    setWindowIcon(icon);

    buildViews();
    buildTree();
    connectSignals();
    attachToolBar();
    buildKeyboardCommands();
}

QAReporter::~QAReporter()
{
    if (assembler)
        assembler->wait();
    reporterWindows().removeOne(this);
    // The host may have put the tree into a pane of its own: it is still
    // the window's.
    delete treeView.data();
}

void QAReporter::buildViews()
{
    const QString pixmaps = host() ? host()->pixmapDirectory() : QString();
    headerDock = new QDockWidget(this);
    headerDock->setObjectName(QStringLiteral("reporter-header"));
    headerDock->setFeatures(QDockWidget::DockWidgetClosable);
    headerDock->setTitleBarWidget(new QWidget(headerDock));
    addDockWidget(Qt::TopDockWidgetArea, headerDock);

    headerView = new DReportWidget(headerDock);
    if (!pixmaps.isEmpty())
        headerView->insertSearchPath(pixmaps);
    headerDock->setWidget(headerView);
    headerView->setWordWrap(true);

    documentView = new DReportWidget(this);
    if (!pixmaps.isEmpty())
        documentView->insertSearchPath(pixmaps);
    setCentralWidget(documentView);
    if (const QAReporterPref* preferences = reporterPreferences())
        documentView->setBackgroundColor(preferences->general()->background());
    headerDock->setMinimumHeight(26);
    headerSize = new QAReporterHeaderSize(this, headerDock);
    documentView->setMargin(5, 5, 5, 5);
    loadingBar = new QAReporterLoadingBar(this);
    addToolBar(Qt::BottomToolBarArea, loadingBar);
    connect(loadingBar, &QAReporterLoadingBar::cancelRequested, this, &QAReporter::cancelReading);

    removeDockWidget(headerDock);
}

void QAReporter::buildTree()
{
    treeView = new QARListView;
    treeView->setHeaderLabels({tr("Name"), QString()});
    treeView->header()->setStretchLastSection(false);
    treeView->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    treeView->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    treeView->header()->resizeSection(1, 20);
    treeView->header()->moveSection(1, 0);
    treeView->setContextMenuPolicy(Qt::CustomContextMenu);

    treePopup = new QARPopupMenu(treeView);
    treePopup->targetItem = nullptr;
    treePopup->addAction(tr("&Go to"), this, &QAReporter::gotoMenu);
    submitItem = treePopup->addAction(tr("&Submit Tallyvane Defect Report"), this,
                                      &QAReporter::submitTallyvane);
}

void QAReporter::connectSignals()
{
    // A right click asks for the menu (showPopupMenu) and, as the button is
    // released, for the item's entries (contextMenu).
    connect(treeView, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QTreeWidgetItem* item = treeView->itemAt(pos);
        const QPoint global = treeView->viewport()->mapToGlobal(pos);
        const int column = treeView->columnAt(pos.x());
        showPopupMenu(item, global, column);
        contextMenu(item, global, column);
    });
    connect(treeView, &QTreeWidget::itemSelectionChanged, this, [this] {
        QTreeWidgetItem* item = treeView->selectedItems().value(0);
        selItemChanged(item);
        moveDoc(item);
    });
    connect(this, &QAStViewerWindow::reloadFile, this,
            qOverload<const QString&>(&QAReporter::reload));
    connect(headerView, &DReportWidget::activatedLink, this, &QAReporter::activateHeader);
    connect(documentView, &DReportWidget::activatedLink, this, &QAReporter::resolveLink);
    connect(this, &QAReporter::viewUpdated, documentView->viewport(),
            qOverload<>(&QWidget::update));
    if (QAReporterPref* preferences = reporterPreferences())
        connect(preferences, &QAReporterPref::preferencesChanged, this, &QAReporter::applyPrefs);
    if (host() && host()->mainWindow())
        connect(host()->mainWindow(), &QObject::destroyed, this, &QAReporter::mainwindowDestroyed);
    connect(treeView, &QAListView::doubleClicked, this, &QAReporter::moveDocRaise);
}

void QAReporter::attachToolBar()
{
    toolBar = ::reporterToolBar(host());
    if (!toolBar)
        toolBar = new QARToolBar(title + tr(" Toolbar"), this);
}

QWidget* QAReporter::contentOutlineWidget()
{
    return treeView;
}

void QAReporter::closeEvent(QCloseEvent* event)
{
    if (toolBar)
        toolBar->setButtonsEnabled(false);
    if (isActivated()) {
        if (host() && commandsMenuId != -1)
            host()->removeMenu(commandsMenuId);
        commandsMenuId = -1;
        if (commandsMenu)
            commandsMenu->clear();
    }
    QAStViewerWindow::closeEvent(event);
}

// Loading and assembly

void QAReporter::setFiles(QStringList* files, QStringList* other, ViewerMode mode)
{
    QAStViewerWindow::setFiles(files, other, mode);
    reportSession->setFiles(files ? *files : QStringList());
    if (files)
        loadReports(files);
    if (mode == Batch)
        writeStandardOutput(reportSession->totalsText(getNode().testName).toLocal8Bit());
}

const QStringList& QAReporter::files() const
{
    return reportSession->files();
}

const QList<QAReporterData*>& QAReporter::records() const
{
    return reportSession->records();
}

const QStringList& QAReporter::types() const
{
    return reportSession->nodeTypes();
}

DDocument* QAReporter::summary() const
{
    return reportSession->summary();
}

QStringList QAReporter::loadedFiles() const
{
    return reportSession->loadedFiles();
}

bool QAReporter::loadReports(QStringList* files)
{
    cancelReading();
    if (streams(*files)) {
        startStream(files->first());
        return true;
    }
    BusyScope busy(this);
    const QAReporterPref* preferences = reporterPreferences();
    const qsizetype before = reportSession->records().size();
    const QAReportSession::LoadErrors errors = reportSession->load(
        *files, host(), preferences ? preferences->stylesPage()->styles() : QList<DStyle*>());
    if (!QAReporterNotices::loadErrors(this, host(), errors))
        return false;
    if (reportSession->records().isEmpty())
        return true;
    useHistory(before);
    // The summary shows when it tells more than the report: several files,
    // or the trend of the runs before.
    headerShown = reportSession->records().size() > 1 || reportSession->trend().size() > 1;
    clearTree();
    if (toolBar && toolBar->isFilterOn()) {
        showFailedTests();
    } else {
        showAllTests();
    }
    return true;
}

qint64 QAReporter::failedTotal() const
{
    return reportSession->failedTotal();
}

qint64 QAReporter::passedTotal() const
{
    return reportSession->passedTotal();
}

void QAReporter::assembleDocuments()
{
    if (isStreaming()) {
        assemblyPending = true;
        return;
    }
    if (viewUpToDate)
        return;
    BusyScope busy(this);
    QAProgressPulse pulse(host(), tr("Preparing the report"));
    const QString position = documentView->currentItemName();
    clearViews();
    reportSession->assemble();
    fillTree();
    showDocuments();
    if (headerShown)
        showHeaderDock();
    if (!position.isEmpty())
        documentView->moveTo(QString(), QString(), position);
    viewUpToDate = true;
}

void QAReporter::fillTree()
{
    if (reportSession->records().isEmpty() || !treeView)
        return;
    clearTree();
    treeView->setHeaderHidden(true);
    treeView->setRootIsDecorated(true);
    treeView->setAllColumnsShowFocus(false);
    treeView->setSortingEnabled(false);
    const QList<QAReporterData*>& records = reportSession->filteredRecords();
    for (auto record = records.crbegin(); record != records.crend(); ++record) {
        if ((*record)->tree)
            (*record)->tree->fillListView(treeView, (*record)->fileName);
    }
    // The item of each place of the report, for the jumps that select the
    // item of the place shown: the first item that starts there.
    QString file;
    for (QTreeWidgetItemIterator it(treeView); *it; ++it) {
        QARListViewItem* item = QARListViewItem::cast(*it);
        if (!item)
            continue;
        if (!item->parent())
            file = item->filePath();
        if (item->startItem && !treeItemAt.contains(item->startItem))
            treeItemAt.insert(item->startItem, *it);
        if (!newFailures.isEmpty())
            markNewFailure(item, file);
    }
    if (QTreeWidgetItem* first = treeView->topLevelItem(0)) {
        treeView->setCurrentItem(first);
        first->setSelected(true);
    }
}

namespace {

QString newFailureKey(const QString& file, const QAReporterNode* node)
{
    return file + QLatin1Char('\x1f') + node->id();
}

} // namespace

void QAReporter::markNewFailure(QARListViewItem* item, const QString& file)
{
    if (!item->node || !item->failed() || !newFailures.contains(newFailureKey(file, item->node)))
        return;
    item->setStatus(QARListViewItem::Failed,
                    QIcon(GETPIX("testnewfailed_xpm", ":/pixmaps/testnewfailed.xpm")));
    item->setToolTip(0, tr("Failed now, not in the earlier run"));
}

bool QAReporter::isNewFailure(const QString& file, const QAReporterNode* node) const
{
    return node && newFailures.contains(newFailureKey(file, node));
}

void QAReporter::compareWith()
{
    const QString file = QFileDialog::getOpenFileName(
        this, tr("Compare With Earlier Run"), QFileInfo(reportSession->files().value(0)).path(),
        tr("Reports and results (*.xrd *.xml *.trx *.tap);;All files (*)"));
    if (!file.isEmpty())
        compareWith(file);
}

QAReporterDocumentWindow* QAReporter::compareWith(const QString& earlierFile)
{
    if (reportSession->records().isEmpty())
        return nullptr;
    const QAReporterPref* preferences = reporterPreferences();
    const QList<DStyle*> styles =
        preferences ? preferences->stylesPage()->styles() : QList<DStyle*>();
    QAReportSession::LoadErrors errors;
    std::unique_ptr<QAReporterComparison> comparison;
    {
        BusyScope busy(this);
        comparison = reportSession->compareWith(earlierFile, host(), styles, &errors);
    }
    if (!comparison) {
        QAReporterNotices::loadErrors(this, host(), errors);
        return nullptr;
    }
    newFailures.clear();
    for (const QAReporterComparison::Entry& entry :
         comparison->entries(QAReporterComparison::NewFailures)) {
        const QAReporterCase& testCase = comparison->current().at(entry.current);
        newFailures.insert(newFailureKey(testCase.file, testCase.node));
    }
    fillTree();
    std::unique_ptr<DDocument> document(QAReporterComparisonDocument::build(
        *comparison, earlierFile, reportSession->loadedFiles(), styles));
    auto* window =
        new QAReporterDocumentWindow(std::move(document),
                                     tr("%1 compared with %2")
                                         .arg(QFileInfo(reportSession->files().value(0)).fileName(),
                                              QFileInfo(earlierFile).fileName()),
                                     this);
    connect(window, &QAReporterDocumentWindow::linkActivated, this, &QAReporter::resolveLink);
    window->show();
    return window;
}

QAReporterHistoryStore* QAReporter::openHistory()
{
    const QAReporterPref* preferences = reporterPreferences();
    if (!preferences)
        return nullptr;
    const QString url = preferences->historyPage()->database();
    if (historyStore && historyUrl == url)
        return historyStore.get();
    historyStore.reset();
    historyUrl = url;
    // Each store that cannot be opened is said once a process, not at
    // every report opened.
    static QSet<QString> refused;
    if (refused.contains(url))
        return nullptr;
    auto store = std::make_unique<QAReporterHistoryStore>();
    QString error;
    if (!store->open(url, &error)) {
        refused.insert(url);
        QAMessageBox::warning(this, tr("Run History"),
                              error + QLatin1Char('\n') +
                                  tr("The viewer goes on without the run history."));
        return nullptr;
    }
    historyStore = std::move(store);
    return historyStore.get();
}

void QAReporter::useHistory(qsizetype first)
{
    const QAReporterPref* preferences = reporterPreferences();
    const QAReporterPrefHistory* page = preferences ? preferences->historyPage() : nullptr;
    QAReporterHistoryStore* store = page && page->recordsRuns() ? openHistory() : nullptr;
    if (!store) {
        reportSession->setTrend({});
        return;
    }
    // Each record's cases, collected once for recording and marking.
    QList<QAReporterCase> cases;
    {
        QAProgressPulse pulse(host(), tr("Recording the runs in the history"));
        bool recording = true;
        for (const QAReporterData* record : reportSession->records().mid(first)) {
            const QList<QAReporterCase> recordCases = QAReporterCases::collect(*record);
            QString error;
            if (recording && store->record(*record, recordCases, &error) == QARunHistory::Failed) {
                QAMessageBox::warning(this, tr("Run History"), error);
                recording = false;
            }
            cases += recordCases;
        }
    }
    reportSession->setTrend(store->trend(page->lastRuns()));
    store->markFailedCases(std::move(cases), page->lastRuns(), preferences->stylesPage()->styles());
}

void QAReporter::flakyTests()
{
    showFlakyTests();
}

QAReporterDocumentWindow* QAReporter::showFlakyTests()
{
    QAReporterHistoryStore* store = openHistory();
    if (!store)
        return nullptr;
    const QAReporterPref* preferences = reporterPreferences();
    const int runs = preferences->historyPage()->lastRuns();
    std::unique_ptr<DDocument> document(QAReporterFlakyDocument::build(
        store->history().flaky(runs), runs, preferences->stylesPage()->styles()));
    auto* window = new QAReporterDocumentWindow(std::move(document), tr("Flaky Tests"), this);
    connect(window, &QAReporterDocumentWindow::linkActivated, this, &QAReporter::resolveLink);
    window->show();
    return window;
}

void QAReporter::clearTree()
{
    selectedItem = nullptr;
    treeItemAt.clear();
    if (treeView)
        treeView->clearItems();
}

void QAReporter::showDocuments()
{
    headerView->clearDocs();
    if (isActivatedDisplay())
        headerView->setDocument(reportSession->summary(), true);
    const QList<QAReporterData*>& records = reportSession->filteredRecords();
    if (records.isEmpty() || !isActivatedDisplay())
        return;
    bool first = true;
    for (const QAReporterData* record : records) {
        if (!record->document)
            continue;
        // Pictures are found beside the report that shows them.
        documentView->insertSearchPath(QFileInfo(record->fileName).absolutePath());
        documentView->setDocument(record->document.get(), first);
        first = false;
    }
    emit viewUpdated();
}

void QAReporter::showFailedTests()
{
    reportSession->setFailedOnly(true);
    viewUpToDate = false;
    // While a report is read its failures are still to come: the view
    // follows once it is read.
    if (failedTotal() != 0 || isStreaming()) {
        assembleDocuments();
        return;
    }
    const QString caption = host() ? host()->productName() : title;
    if (QAReporterNotices::preferAllTests(this, caption))
        alltests();
    else
        assembleDocuments();
}

void QAReporter::showAllTests()
{
    reportSession->setFailedOnly(false);
    viewUpToDate = false;
    assembleDocuments();
}

void QAReporter::switchFilter()
{
    if (toolBar && toolBar->isFilterOn())
        showFailedTests();
    else
        showAllTests();
}

void QAReporter::alltests()
{
    if (!toolBar)
        return;
    if (toolBar->isFilterOn())
        toolBar->toggleFilter();
    showAllTests();
}

void QAReporter::failedtests()
{
    if (!toolBar)
        return;
    if (!toolBar->isFilterOn())
        toolBar->toggleFilter();
    showFailedTests();
}

void QAReporter::typeCheck(int id)
{
    if (!host() || !commandsMenu)
        return;
    const QAction* action = commandsAction(id);
    if (!action || action->text().isNull())
        return;
    const QString type = action->text();
    reportSession->setTypeHidden(type, !reportSession->isTypeHidden(type));
    viewUpToDate = false;
    assembleDocuments();
}

// Navigation

void QAReporter::raiseDocumentView(bool always)
{
    if (always || autoRaise())
        documentView->setFocus();
}

void QAReporter::moveDoc(QTreeWidgetItem* item)
{
    const QARListViewItem* reportItem = QARListViewItem::cast(item);
    if (reportItem && reportItem->startItem)
        documentView->moveTo(reportItem->startItem);
    raiseDocumentView(false);
}

void QAReporter::moveDocRaise(QTreeWidgetItem* item)
{
    moveDoc(item);
}

void QAReporter::gotoMenu()
{
    const QARListViewItem* item = QARListViewItem::cast(treePopup->targetItem);
    if (!item || !item->startItem)
        return;
    moveDoc(treePopup->targetItem);
}

void QAReporter::moveToTarget(const QString& target)
{
    // A place of the report itself ("xrdlink://#tag", what index entries
    // send) is its anchor; other targets are cut into their three parts.
    const QALinkTarget link = QALinkTarget::parse(target);
    QString file, kind, tag;
    if (link.isLocal())
        tag = link.anchor();
    else
        DLink::split(target, file, kind, tag);
    documentView->moveTo(file, kind, tag);
}

void QAReporter::moveDoc(const QString& target)
{
    if (!target.isEmpty())
        moveToTarget(target);
    raiseDocumentView(false);
}

void QAReporter::scrollToTag(const QString& tag, int, int)
{
    moveDoc(tag);
}

bool QAReporter::writeReport(const QString& path, QString* error)
{
    QStringList warnings;
    if (!reportSession->writeReport(path, error, &warnings))
        return false;
    if (!warnings.isEmpty())
        QAMessageBox::warning(this, tr("Test Report"), warnings.join(QLatin1Char('\n')));
    return true;
}

void QAReporter::activateHeader(DLink* link)
{
    if (!link || link->target().isEmpty())
        return;
    moveToTarget(link->target());
    selectTreeItemShown();
    raiseDocumentView(true);
}

void QAReporter::nextKO()
{
    if (treeView)
        treeView->selectNextFailed();
}

void QAReporter::prevKO()
{
    if (treeView)
        treeView->selectPreviousFailed();
}

void QAReporter::updateSubmitText(QAction* action, QTreeWidgetItem* item) const
{
    const QARListViewItem* reportItem = QARListViewItem::cast(item);
    action->setText(reportItem && reportItem->failed() ? tr("&Submit Tallyvane Defect Report")
                                                       : tr("&Submit Tallyvane Report"));
}

void QAReporter::selItemChanged(QTreeWidgetItem* item)
{
    if (!host())
        return;
    selectedItem = item;
    updateSubmitText(submitItem, item);
    submitItem->setEnabled(item && item->parent());
}

void QAReporter::contextMenu(QTreeWidgetItem* item, const QPoint& pos, int)
{
    treePopup->targetItem = nullptr;
    if (!item)
        return;
    updateSubmitText(submitItem, item);
    submitItem->setEnabled(item->parent());
    treePopup->targetItem = item;
    treePopup->popup(pos);
}

void QAReporter::showPopupMenu(QTreeWidgetItem* item, const QPoint& pos, int)
{
    if (!treePopup)
        return;
    treePopup->targetItem = item;
    treePopup->popup(pos);
}

void QAReporter::resolveLink(DLink* link)
{
    if (!link)
        return;
    const QString target = link->target();
    const QALinkTarget parsed = QALinkTarget::parse(target);
    if (!parsed.isReport()) {
        if (QAStudioInterface* studio = host())
            studio->openLocation(reportSession->sourceLocation(link, target), 3, true);
        return;
    }
    QString file;
    if (!reportSession->reportFile(parsed, &file))
        return;
    history.visit(currentPlace());
    // A link into a report the window shows (as a comparison's links are)
    // moves there without reading the files again.
    const QAReporterData* shown = shownRecord(file);
    if (!file.isEmpty() && !shown)
        showFiles({file});
    updateHistoryCommands();
    if (parsed.anchor().isEmpty())
        return;
    // A place of the report linked to, rather than one of the same name in
    // another report of the window.
    const DItem* place =
        file.isEmpty() ? QAReporterLinkTarget::placeInDocumentOf(link, parsed.anchor())
        : shown ? QAReporterLinkTarget::placeInDocumentOf(shown->document.get(), parsed.anchor())
                : nullptr;
    if (place && documentView->moveTo(place))
        raiseDocumentView(false);
    else
        scrollToTag(parsed.anchor(), -1, -1);
    selectTreeItemShown();
}

const QAReporterData* QAReporter::shownRecord(const QString& file) const
{
    if (file.isEmpty() || !reportSession->isAssembled())
        return nullptr;
    const QString path = QFileInfo(file).absoluteFilePath();
    for (const QAReporterData* record : reportSession->filteredRecords()) {
        if (QFileInfo(record->fileName).absoluteFilePath() == path)
            return record;
    }
    return nullptr;
}

QAReporterNode* QAReporter::findLinkNode(const DLink* link) const
{
    return reportSession->findLinkNode(link);
}

// Window commands

void QAReporter::reload()
{
    viewUpToDate = false;
    reloadFiles();
}

void QAReporter::reload(const QString&)
{
    reload();
}

// The views show the session's assembly; they let go of it before it is
// made again.
void QAReporter::clearViews()
{
    headerView->clearDocs();
    documentView->clearDocs();
    clearTree();
}

void QAReporter::reloadFiles()
{
    cancelReading();
    if (busyDepth > 0) {
        reloadPending = true;
        return;
    }
    BusyScope busy(this);
    {
        QAProgressPulse pulse(host(), tr("Closing the report"));
        clearViews();
        reportSession->clear();
    }
    newFailures.clear();
    QStringList files = reportSession->files();
    loadReports(&files);
}

void QAReporter::find()
{
    find(QString());
}

void QAReporter::find(const QString& text)
{
    delete findDialog.data();
    if (text.isNull()) {
        QAStudioInterface* studio = host();
        if (!studio || !studio->mainWindow())
            return;
        findDialog = new QAViewerFindDialog(studio->mainWindow(),
                                            QStringLiteral("reporter-find-dialog"), true);
        connect(findDialog, &QAViewerFindDialog::search, this, &QAReporter::findDialogSearch);
        findDialog->setRegExp(searchPattern);
        findDialog->exec();
        if (findDialog)
            searchPattern = findDialog->regExp();
        return;
    }
    searchPattern.setPattern(text);
    documentView->search(searchPattern);
}

void QAReporter::findDialogSearch(const QRegularExpression& pattern)
{
    documentView->search(pattern);
    placeFindDialog();
}

void QAReporter::print()
{
    documentView->print();
}

void QAReporter::printHeader()
{
    if (headerShown)
        headerView->print();
}

void QAReporter::copy()
{
    documentView->copy();
}

void QAReporter::showHeaderDock()
{
    // Room for the whole summary, as it lays out at the dock's width.
    headerSize->show(
        [this] {
            const int frame = headerDock->height() - headerView->viewport()->height();
            return headerView->contentHeight(height()) + qMax(frame, 0);
        },
        headerView->fontMetrics().height() + 10);
}

void QAReporter::hideHeaderDock()
{
    headerSize->hide();
}

void QAReporter::showDock(int)
{
    if (!host() || !commandsMenu)
        return;
    QAction* printHeaderAction = commandsAction(printHeaderItemId);
    if (headerDock->isVisibleTo(this)) {
        if (printHeaderAction)
            printHeaderAction->setEnabled(false);
        hideHeaderDock();
        headerShown = false;
    } else {
        if (printHeaderAction)
            printHeaderAction->setEnabled(true);
        showHeaderDock();
        headerShown = true;
    }
}

void QAReporter::applyPrefs()
{
    if (const QAReporterPref* preferences = reporterPreferences())
        documentView->setBackgroundColor(preferences->general()->background());
    documentView->rebuildDoc();
}

void QAReporter::mainwindowDestroyed()
{
    mainWindowGone = true;
}

void QAReporter::setTestNode(QAStWorkspace* workspace, const QString& name)
{
    nodeData().workspace = workspace;
    nodeData().testName = name;
    if (name.isEmpty())
        return;
    setWindowTitle(QStringLiteral("%1 [%2]").arg(title, name.section(QLatin1Char('.'), -1, -1)));
    emit captionChanged(this);
}

// The commands that do nothing in a report viewer.

void QAReporter::save() {}

void QAReporter::paste() {}

void QAReporter::cut() {}

void QAReporter::undo() {}

void QAReporter::redo() {}

void QAReporter::del() {}

void QAReporter::selectAll() {}

void QAReporter::replace() {}

void QAReporter::goTo() {}

void QAReporter::zoomIn() {}

void QAReporter::zoomOut() {}

void QAReporter::zoom(int) {}

void QAReporter::mnFilter() {}

// Commands menu and activation

void QAReporter::activated()
{
    QAStViewerWindow::activated();
    if (!hasFocus())
        setFocus();
    if (toolBar) {
        toolBar->setButtonsEnabled(true);
        connect(toolBar, &QARToolBar::KOsuivClicked, this, &QAReporter::nextKO,
                Qt::UniqueConnection);
        connect(toolBar, &QARToolBar::KOprecClicked, this, &QAReporter::prevKO,
                Qt::UniqueConnection);
        connect(toolBar, &QARToolBar::fltClicked, this, &QAReporter::switchFilter,
                Qt::UniqueConnection);
        toolBar->addActions({backAction, forwardAction});
    }
    if (!commandsMenu && host()) {
        commandsMenu = new QMenu(tr("&Commands"), this);
        connect(commandsMenu, &QMenu::aboutToShow, this, &QAReporter::updateToolMenu);
        connect(commandsMenu, &QMenu::hovered, this,
                [this](QAction* action) { highlighted(action->data().toInt()); });
    }
    insertCommands();
    emit stateChanged();
    active = true;
}

void QAReporter::insertCommands()
{
    if (!commandsMenu)
        return;
    QAStudioInterface* studio = host();
    if (studio && studio->mainWindow()) {
        commandsMenuId = studio->insertMenu(title, commandsMenu);
    } else if (commandsMenuId == -1) {
        menuBar()->addMenu(commandsMenu);
        commandsMenuId = 0;
    }
}

void QAReporter::desactivated()
{
    setActivated(false);
    if (toolBar) {
        toolBar->setButtonsEnabled(false);
        disconnect(toolBar, &QARToolBar::KOsuivClicked, this, &QAReporter::nextKO);
        disconnect(toolBar, &QARToolBar::KOprecClicked, this, &QAReporter::prevKO);
        disconnect(toolBar, &QARToolBar::fltClicked, this, &QAReporter::switchFilter);
        toolBar->removeAction(backAction);
        toolBar->removeAction(forwardAction);
    }
    if (host() && commandsMenuId != -1)
        host()->removeMenu(commandsMenuId);
    active = false;
}

QAction* QAReporter::commandsAction(int id) const
{
    if (!commandsMenu)
        return nullptr;
    for (QAction* action : commandsMenu->actions()) {
        if (!action->isSeparator() && action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

void QAReporter::updateToolMenu()
{
    if (!commandsMenu)
        return;
    commandsMenu->clear();
    const bool filterOn = toolBar && toolBar->isFilterOn();
    const bool empty = reportSession->records().isEmpty();
    int nextId = FirstAutoId;
    auto add = [this](const QString& text, int id, auto slot) {
        QAction* action = commandsMenu->addAction(text, this, slot);
        action->setData(id);
        return action;
    };

    QAction* all = add(tr("All Test Results"), AllTestsId, &QAReporter::alltests);
    all->setCheckable(true);
    all->setChecked(!filterOn);
    all->setEnabled(!empty);
    allTestsItemId = AllTestsId;
    QAction* failed = add(tr("Failed Tests Only"), FailedTestsId, &QAReporter::failedtests);
    failed->setCheckable(true);
    failed->setChecked(filterOn);
    failed->setEnabled(!empty);
    failedTestsItemId = FailedTestsId;
    commandsMenu->addSeparator();

    for (const QString& type : reportSession->nodeTypes()) {
        const int id = nextId++;
        QAction* action = add(type, id, [this, id] { typeCheck(id); });
        action->setCheckable(true);
        action->setChecked(!reportSession->isTypeHidden(type));
    }
    commandsMenu->addSeparator();

    QAction* reloadAction = add(tr("Reload"), ReloadId, qOverload<>(&QAReporter::reload));
    reloadAction->setIcon(QIcon(GETPIX("reload_xpm", ":/pixmaps/reload.xpm")));
    commandsMenu->addSeparator();

    commandsItemId = nextId++;
    QAction* header =
        add(tr("Show header"), commandsItemId, [this, id = commandsItemId] { showDock(id); });
    header->setCheckable(true);
    header->setChecked(headerDock->isVisibleTo(this));
    printHeaderItemId = nextId++;
    add(tr("Print Header"), printHeaderItemId, &QAReporter::printHeader)->setEnabled(headerShown);
    commandsMenu->addSeparator();

    submitCommandItemId = nextId++;
    QAction* submit = add(QString(), submitCommandItemId, &QAReporter::submitTallyvane);
    updateSubmitText(submit, selectedItem);
    submit->setEnabled(selectedItem && selectedItem->parent() && !empty);
    commandsMenu->addSeparator();
    add(tr("Generate HTML"), GenerateHtmlId, &QAReporter::exportDoc);
    add(tr("Compare With..."), CompareId, qOverload<>(&QAReporter::compareWith))
        ->setEnabled(!empty);
    add(tr("Flaky Tests..."), FlakyId, &QAReporter::flakyTests);
    commandsMenu->addSeparator();
    // The same actions as the toolbar's and the window's, with their keys.
    if (toolBar) {
        toolBar->previousFailedAction()->setData(int(PreviousFailedId));
        toolBar->nextFailedAction()->setData(int(NextFailedId));
        commandsMenu->addActions({toolBar->previousFailedAction(), toolBar->nextFailedAction()});
    }
    backAction->setData(int(BackId));
    forwardAction->setData(int(ForwardId));
    commandsMenu->addActions({backAction, forwardAction});
}

void QAReporter::highlighted(int id)
{
    QAStudioInterface* studio = host();
    if (!studio || !commandsMenu || !studio->mainWindow())
        return;
    QString text;
    switch (id) {
    case AllTestsId:
        text = tr("Display complete report");
        break;
    case FailedTestsId:
        text = tr("Display failed tests only");
        break;
    case ReloadId:
        text = tr("Reload the current report");
        break;
    case GenerateHtmlId:
        text = tr("Generate the viewer's content to a HTML file");
        break;
    case PreviousFailedId:
    case NextFailedId:
    case BackId:
    case ForwardId:
        if (const QAction* action = commandsAction(id))
            text = action->toolTip();
        break;
    default:
        const QAction* action = commandsAction(id);
        text = tr("Show or hide %1", " %1 is the menu item name")
                   .arg(action ? action->text() : QString());
    }
    studio->mainWindow()->statusBar()->showMessage(text);
}

// Export and defects come from the layer above, through the installed
// commands.

void QAReporter::saveAs()
{
    if (QAReporterCommands* commands = reporterCommands())
        commands->saveAs(this);
}

void QAReporter::exportDoc()
{
    if (QAReporterCommands* commands = reporterCommands())
        commands->exportDoc(this);
}

void QAReporter::submitTallyvane()
{
    if (QAReporterCommands* commands = reporterCommands())
        commands->submitTallyvane(this);
}

bool QAReporter::exportHTML(const QString& dir, const QString& indexName,
                            QAIProgressMonitor* progress, QAILogMonitor* log)
{
    QAReporterCommands* commands = reporterCommands();
    return commands && commands->exportHTML(this, dir, indexName, progress, log);
}

// Keyboard: Find Next and Previous, Back and Forward, Tab order

void QAReporter::findNext()
{
    if (searchPattern.pattern().isEmpty()) {
        find();
        return;
    }
    documentView->search(searchPattern);
}

void QAReporter::findPrevious()
{
    if (searchPattern.pattern().isEmpty()) {
        find();
        return;
    }
    documentView->searchBackward(searchPattern);
}

void QAReporter::placeFindDialog()
{
    const QRect match = documentView->selectionRect();
    if (!findDialog || match.isEmpty())
        return;
    findDialog->keepClearOf(
        QRect(documentView->viewport()->mapToGlobal(match.topLeft()), match.size()));
}

void QAReporter::buildKeyboardCommands()
{
    auto command = [this](QStyle::StandardPixmap icon, const QString& text,
                          QKeySequence::StandardKey key, void (QAReporter::*slot)()) {
        auto* action = new QAction(style()->standardIcon(icon), text, this);
        action->setShortcuts(key);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(
            text, action->shortcut().toString(QKeySequence::NativeText)));
        action->setEnabled(false);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        return action;
    };
    backAction = command(QStyle::SP_ArrowBack, tr("Back"), QKeySequence::Back, &QAReporter::goBack);
    forwardAction = command(QStyle::SP_ArrowForward, tr("Forward"), QKeySequence::Forward,
                            &QAReporter::goForward);
    // Tab leaves the tree for the report, before the report's links.
    treeView->installEventFilter(this);
}

bool QAReporter::eventFilter(QObject* watched, QEvent* event)
{
    // The type first: the tree sends events while it is destroyed, when it
    // is no longer a tree view to compare with.
    if (event->type() == QEvent::KeyPress && watched == treeView) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier &&
            documentView->isVisible()) {
            documentView->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QAStViewerWindow::eventFilter(watched, event);
}

QAReporterHistory::Place QAReporter::currentPlace() const
{
    return {reportSession->files(), documentView->currentItemName()};
}

void QAReporter::showFiles(const QStringList& files)
{
    reportSession->setFiles(files);
    // The base watches the files and tells the host which they are.
    QStringList watched = files;
    QAStViewerWindow::setFiles(&watched, nullptr, mode());
    viewUpToDate = false;
    reloadFiles();
    emit captionChanged(this);
}

void QAReporter::showPlace(const QAReporterHistory::Place& place)
{
    if (place.files != reportSession->files())
        showFiles(place.files);
    if (!place.position.isEmpty() && documentView->moveTo(QString(), QString(), place.position))
        selectTreeItemShown();
    updateHistoryCommands();
}

void QAReporter::goBack()
{
    if (const std::optional<QAReporterHistory::Place> place = history.back(currentPlace()))
        showPlace(*place);
}

void QAReporter::goForward()
{
    if (const std::optional<QAReporterHistory::Place> place = history.forward(currentPlace()))
        showPlace(*place);
}

void QAReporter::updateHistoryCommands()
{
    backAction->setEnabled(history.canGoBack());
    forwardAction->setEnabled(history.canGoForward());
}

void QAReporter::selectTreeItemShown()
{
    QTreeWidgetItem* item = treeItemAt.value(documentView->currentItem());
    if (!treeView || !item)
        return;
    {
        // The view is there already: the selection must not move it.
        const QSignalBlocker blocker(treeView);
        // A shown tree scrolls to its new current item by itself.
        treeView->setCurrentItem(item);
    }
    selItemChanged(item);
}

QByteArray QAReporter::saveViewState() const
{
    QByteArray state;
    QDataStream stream(&state, QIODevice::WriteOnly);
    stream << quint8(1) << qint32(headerSize->height());
    return state;
}

void QAReporter::restoreViewState(const QByteArray& state)
{
    QDataStream stream(state);
    quint8 version = 0;
    qint32 height = 0;
    stream >> version >> height;
    if (stream.status() == QDataStream::Ok && version == 1)
        headerSize->setHeight(height);
}

// Progressive opening

namespace {
qint64 streamingBytes = 32 * 1024 * 1024;
// Suites stay closed while the report is read: a tree view lays out its
// open items again after each insertion.
const int StreamingOpenDepth = 2;
const qint64 StreamingForecastBytes = 8 * 1024 * 1024;
const int StreamingOpenAllItems = 100000;
} // namespace

void QAReporter::setStreamingThreshold(qint64 bytes)
{
    streamingBytes = bytes;
}

qint64 QAReporter::streamingThreshold()
{
    return streamingBytes;
}

bool QAReporter::isStreaming() const
{
    return stream != nullptr;
}

bool QAReporter::streams(const QStringList& files) const
{
    if (files.size() != 1 || !isActivatedDisplay() || !reportSession->records().isEmpty() ||
        reportSession->isFailedOnly())
        return false;
    QFile file(files.first());
    if (file.size() < streamingBytes || !file.open(QIODevice::ReadOnly))
        return false;
    return !QAResultImporter::recognises(file.peek(QAResultImporter::HeadSize));
}

void QAReporter::startStream(const QString& path)
{
    const QAReporterPref* preferences = reporterPreferences();
    clearViews();
    viewUpToDate = true;
    assemblyPending = false;
    streamReserved = false;
    stream = std::make_unique<QAReportStream>(
        path, preferences ? preferences->stylesPage()->styles() : QList<DStyle*>());
    connect(stream.get(), &QAReportStream::grew, this, &QAReporter::streamGrew);
    connect(stream.get(), &QAReportStream::finished, this, &QAReporter::streamFinished);
    loadingBar->start(QFileInfo(path).fileName());
    documentView->insertSearchPath(QFileInfo(path).absolutePath());
    stream->start();
}

void QAReporter::streamGrew()
{
    QAReporterData* record = stream->record();
    if (!record)
        return;
    const bool first = !streamTree;
    if (first)
        showStreamedRecord(stream->takeRecord());
    documentView->extendDocument(record->document.get(), stream->openItems());
    // The tree grows in a turn of its own: a suite's rows all come when the
    // next suite starts, and after a replay slice in the same turn they
    // would hold the event loop for both.
    if (!streamTreeDue) {
        streamTreeDue = true;
        QMetaObject::invokeMethod(this, &QAReporter::growStreamTree, Qt::QueuedConnection);
    }
    loadingBar->setProgress(stream->bytesRead(), stream->fileSize());
    if (!streamReserved && stream->bytesRead() >= StreamingForecastBytes) {
        streamReserved = true;
        reserveStreamedBlocks();
    }
}

// Once a few megabytes are in, the blocks of the whole report are foreseen
// from those read so far, with a margin, so that the view's indexes never
// copy or rehash millions of entries at once. The view makes that room on
// another thread.
void QAReporter::reserveStreamedBlocks()
{
    const qint64 read = stream->bytesRead();
    const qint64 blocks = documentView->blockCount();
    const qint64 foreseen = blocks * stream->fileSize() / read * 5 / 4;
    documentView->reserveBlocks(int(qMin<qint64>(foreseen, INT_MAX / 4)));
}

void QAReporter::growStreamTree()
{
    streamTreeDue = false;
    if (streamTree)
        streamTree->grow();
}

void QAReporter::showStreamedRecord(QAReporterData* record)
{
    reportSession->addRecord(record);
    if (!treeView)
        return;
    treeView->setHeaderHidden(true);
    treeView->setRootIsDecorated(true);
    streamTree = std::make_unique<QAReporterTreeGrower>(treeView, record->fileName,
                                                        record->tree.data(), StreamingOpenDepth);
    streamTree->setItemStarted([this](QARListViewItem* item) {
        if (!treeItemAt.contains(item->startItem))
            treeItemAt.insert(item->startItem, item);
    });
    if (QTreeWidgetItem* first = treeView->topLevelItem(0))
        treeView->setCurrentItem(first);
}

void QAReporter::streamFinished()
{
    std::unique_ptr<QAReporterTreeGrower> grower = std::move(streamTree);
    if (grower)
        grower->grow(); // what came since the last turn it had
    QAReporterData* record = stream->record();
    if (!record) {
        loadingBar->hide();
        QAReportSession::LoadErrors errors;
        errors.missing.append(reportSession->files().value(0));
        errors.reasons.append(stream->errorString());
        stream.reset();
        QAReporterNotices::loadErrors(this, host(), errors);
        return;
    }
    reportSession->recordRead(record);
    // Opening a tree lays out every row it shows, in one go: a large one
    // stays open down to its suites, and the reader opens what he wants.
    if (grower && grower->itemCount() <= StreamingOpenAllItems)
        grower->open();
    if (!record->complete && grower && grower->fileItem()) {
        QTreeWidgetItem* fileItem = grower->fileItem();
        fileItem->setText(0, tr("%1 (incomplete)").arg(fileItem->text(0)));
        fileItem->setToolTip(0, stream->errorString());
    }
    if (!record->complete)
        QAReporterNotices::readingStopped(host(), record->fileName, stream->errorString());
    // The summary, the link index and the shared tree are made on another
    // thread: the records no longer change, and the window only reads them.
    loadingBar->preparing();
    assembler.reset(
        QThread::create([this, job = reportSession->assemblyJob()] { assembled = job(); }));
    connect(assembler.get(), &QThread::finished, this, &QAReporter::assemblyDone);
    assembler->start(QThread::LowPriority);
}

void QAReporter::assemblyDone()
{
    assembler.reset();
    stream.reset();
    loadingBar->hide();
    reportSession->adopt(std::move(assembled));
    if (assemblyPending) {
        assemblyPending = false;
        viewUpToDate = false;
        assembleDocuments();
    }
    emit viewUpdated();
}

void QAReporter::cancelReading()
{
    if (stream && !stream->isFinished())
        stream->cancel();
    // The assembly of what was read takes moments; it is waited for.
    if (assembler) {
        assembler->wait();
        assemblyDone();
    }
}
