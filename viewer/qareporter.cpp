#include "qareporter.h"

#include "ddocument.h"
#include "dlink.h"
#include "dreportwidget.h"
#include "qalinktarget.h"
#include "qamessagebox.h"
#include "qapixmapcenter.h"
#include "qaprogresspulse.h"
#include "qareportercommands.h"
#include "qareporterdata.h"
#include "qareporterfilter.h"
#include "qareporterfiltercriteria.h"
#include "qareporterlinkindex.h"
#include "qareporterlinktarget.h"
#include "qareporterloader.h"
#include "qareporterpref.h"
#include "qareporterprefgeneral.h"
#include "qareporterprefstyles.h"
#include "qareportersummary.h"
#include "qarlistview.h"
#include "qarlistviewitem.h"
#include "qarpopupmenu.h"
#include "qartoolbar.h"
#include "qastoutputwidget.h"
#include "qastudiointerface.h"
#include "qastworkspace.h"
#include "qatestcount.h"
#include "qaviewerfinddialog.h"
#include "qaxrodwriter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>

namespace {

// Ids of the Commands menu entries that have fixed ones; the others get
// ids from firstAutoId on, given anew each time the menu is built.
enum CommandId {
    AllTestsId = 100,
    FailedTestsId = 101,
    ReloadId = 102,
    GenerateHtmlId = 105,
    FirstAutoId = 1000
};

int windowCounter = 0;
QPointer<QAViewerFindDialog> findDialog;

QRegularExpression failedState()
{
    return QRegularExpression(QStringLiteral("ko"));
}

QRegularExpression typePattern(const QString& type)
{
    return QRegularExpression(QRegularExpression::escape(type));
}

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
    : QAStViewerWindow(parent, flags), title(title),
      linkIndex(std::make_unique<QAReporterLinkIndex>())
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
}

QAReporter::~QAReporter()
{
    reporterWindows().removeOne(this);
    headerView->clearDocs();
    delete summaryDocument;
    // The view reads its current item as it lets go of the documents, and
    // the filter owns the documents of a filtered view: the view goes first.
    documentView->clearDocs();
    // The tree's items point into the records' nodes: they go first.
    delete treeView.data();
    delete filter;
    delete criteria;
    qDeleteAll(reports);
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
    documentView->setMargin(5, 5, 5, 5);

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
    criteria = new QAReporterFilterCriteria;
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
    fileList = files ? *files : QStringList();
    if (files)
        loadReports(files);
    if (mode != Batch)
        return;
    QByteArray text;
    if (!getNode().testName.isEmpty())
        text += "TestNode: " + getNode().testName.toLocal8Bit() + '\n';
    text += "\t[" + QByteArray::number(passedTotal()) + "] Test Case Passed\n";
    text += "\t[" + QByteArray::number(failedTotal()) + "] Test Case Failed\n";
    writeStandardOutput(text);
}

bool QAReporter::loadReports(QStringList* files)
{
    BusyScope busy(this);
    QAStudioInterface* studio = host();
    // Every type shows again, in the menu and in the documents assembled
    // below, not only once the menu is next opened.
    typesMenuBuilt = false;
    typeVisible.clear();
    criteria->removePattern(QAReporterFilterCriteria::TypeField);
    const QAReporterPref* preferences = reporterPreferences();
    QAReporterLoader loader(studio,
                            preferences ? preferences->stylesPage()->styles() : QList<DStyle*>());
    if (!loader.load(*files, reports)) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        QAMessageBox::critical(
            this, tr("Test Report Error"),
            tr("No enought memory to open the report file %1\n due to the report file is too "
               "big.\n Change your settings or your test to obtain a lower report file")
                .arg(loader.outOfMemoryPath()));
        QApplication::setOverrideCursor(Qt::UpArrowCursor);
        return false;
    }
    if (!loader.missing().isEmpty()) {
        QString text = tr("File(s) not found or corrupted:\n");
        for (const QString& path : loader.missing())
            text += tr("\t") + path + tr("\n");
        if (studio && studio->outputWidget()) {
            studio->outputWidget()->append(text);
            for (int i = 0; i < loader.missing().size(); ++i)
                studio->outputWidget()->append(loader.missing().at(i) + QStringLiteral(": ") +
                                               loader.reasons().at(i) + QLatin1Char('\n'));
        }
        QAMessageBox::warning(this, tr("Test Report"), text, QMessageBox::Ok);
    }
    if (reports.isEmpty())
        return true;
    headerShown = reports.size() > 1;
    if (treeView) {
        selectedItem = nullptr;
        treeView->clearItems();
    }
    collectNodeTypes();
    if (toolBar && toolBar->isFilterOn()) {
        showFailedTests();
    } else {
        showAllTests();
    }
    return true;
}

void QAReporter::collectNodeTypes()
{
    for (const QAReporterData* record : std::as_const(reports)) {
        for (const QString& type : record->types) {
            if (!nodeTypes.contains(type))
                nodeTypes.append(type);
        }
    }
}

qint64 QAReporter::failedTotal() const
{
    qint64 total = 0;
    for (const QAReporterData* record : reports)
        total = QATestCount::add(total, record->koCount);
    return total;
}

qint64 QAReporter::passedTotal() const
{
    qint64 total = 0;
    for (const QAReporterData* record : reports)
        total = QATestCount::add(total, record->okCount);
    return total;
}

void QAReporter::assembleDocuments()
{
    if (viewUpToDate)
        return;
    BusyScope busy(this);
    QAProgressPulse pulse(host(), tr("Preparing the report"));
    QString position;
    if (!criteria)
        criteria = new QAReporterFilterCriteria;
    if (!filter) {
        filter = new QAReporterFilter;
    } else {
        const QString shown = documentView->currentItemName();
        if (!shown.isEmpty())
            position = shown;
        clearViews();
    }
    makeDocumentNamesUnique();
    filter->setCriteria(*criteria);
    filter->apply(reports);
    linkIndex->build(filter->filteredRecords());
    fillTree();
    DDocument* summary = QAReporterSummary::buildSummary(reports);
    summary->setName(QStringLiteral("index"));
    showDocuments(filter->filteredRecords(), summary);
    if (headerShown)
        showHeaderDock();
    if (!position.isNull())
        documentView->moveTo(QString(), QString(), position);
    viewUpToDate = true;
}

void QAReporter::makeDocumentNamesUnique()
{
    QHash<QString, QString> names;
    for (QAReporterData* record : std::as_const(reports)) {
        DDocument* document = record->document;
        if (!document)
            continue;
        const auto taken = names.constFind(document->name());
        if (taken != names.constEnd())
            document->setName(taken.value() + QStringLiteral("_1"));
        else
            names.insert(document->name(), document->name());
    }
}

void QAReporter::fillTree()
{
    if (reports.isEmpty() || !treeView)
        return;
    selectedItem = nullptr;
    treeView->clearItems();
    treeView->setHeaderHidden(true);
    treeView->setRootIsDecorated(true);
    treeView->setAllColumnsShowFocus(false);
    treeView->setSortingEnabled(false);
    if (filter) {
        const QList<QAReporterData*>& records = filter->filteredRecords();
        for (auto record = records.crbegin(); record != records.crend(); ++record) {
            if ((*record)->tree)
                (*record)->tree->fillListView(treeView, (*record)->fileName);
        }
    }
    if (QTreeWidgetItem* first = treeView->topLevelItem(0)) {
        treeView->setCurrentItem(first);
        first->setSelected(true);
    }
}

void QAReporter::showDocuments(const QList<QAReporterData*>& records, DDocument* summary)
{
    headerView->clearDocs();
    delete summaryDocument;
    summaryDocument = summary;
    if (isActivatedDisplay())
        headerView->setDocument(summaryDocument, true);
    if (records.isEmpty() || !isActivatedDisplay())
        return;
    bool first = true;
    for (const QAReporterData* record : records) {
        if (!record->document)
            continue;
        documentView->setDocument(record->document, first);
        first = false;
    }
    emit viewUpdated();
}

void QAReporter::showFailedTests()
{
    criteria->addPattern(QAReporterFilterCriteria::StateField, failedState());
    viewUpToDate = false;
    if (failedTotal() != 0) {
        assembleDocuments();
        return;
    }
    const QString caption = host() ? host()->productName() : title;
    const auto answer = QAMessageBox::question(
        this, caption,
        tr("The filtered report is empty. \nDo you want to show all tests instead of filtered "
           "report"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        alltests();
    else
        assembleDocuments();
}

void QAReporter::showAllTests()
{
    criteria->removePattern(QAReporterFilterCriteria::StateField);
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
    if (!typeVisible.value(type, true)) {
        typeVisible[type] = true;
        criteria->removeTypePattern(typePattern(type));
    } else {
        typeVisible[type] = false;
        criteria->addPattern(QAReporterFilterCriteria::TypeField, typePattern(type));
    }
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
    if (reports.isEmpty()) {
        if (error)
            *error = tr("No report is loaded: %1 was not written.").arg(path);
        return false;
    }
    QStringList warnings;
    if (!QAXrodWriter::writeFile(path, reports, error, &warnings))
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
    action->setText(reportItem && reportItem->failed ? tr("&Submit Tallyvane Defect Report")
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
    const QALinkTarget target = QALinkTarget::parse(link->target());
    if (target.isReport()) {
        QString file;
        const QString current = reports.isEmpty() ? QString() : reports.first()->fileName;
        if (!QAReporterLinkTarget::reportFile(target, current, &file))
            return;
        if (!file.isEmpty()) {
            fileList = QStringList{file};
            viewUpToDate = false;
            reloadFiles();
        }
        if (target.anchor().isEmpty())
            return;
        // A place of this report, rather than one of the same name in
        // another report of the window.
        const DItem* place = file.isEmpty()
                                 ? QAReporterLinkTarget::placeInDocumentOf(link, target.anchor())
                                 : nullptr;
        if (place && documentView->moveTo(place))
            raiseDocumentView(false);
        else
            scrollToTag(target.anchor(), -1, -1);
        return;
    }
    openLocation(link, link->target());
}

void QAReporter::openLocation(const DLink* link, const QString& target)
{
    const QALinkTarget source = QALinkTarget::parse(target);
    QString location = target;
    if (source.isSource() && QAReporterLinkTarget::needsBase(source)) {
        if (const QAReporterNode* node = findLinkNode(link))
            location = QAReporterLinkTarget::withBase(node->base, source);
    }
    if (QAStudioInterface* studio = host())
        studio->openLocation(location, 3, true);
}

QAReporterNode* QAReporter::findLinkNode(const DLink* link) const
{
    return linkIndex->nodeOf(link);
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

void QAReporter::clearViews()
{
    headerView->clearDocs();
    delete summaryDocument;
    summaryDocument = nullptr;
    documentView->clearDocs();
    // The tree's items and the link index point into the filtered records:
    // both go before them.
    if (treeView) {
        selectedItem = nullptr;
        treeView->clearItems();
    }
    linkIndex->clear();
    if (filter)
        filter->clearFilteredRecords();
}

void QAReporter::reloadFiles()
{
    if (busyDepth > 0) {
        reloadPending = true;
        return;
    }
    BusyScope busy(this);
    {
        QAProgressPulse pulse(host(), tr("Closing the report"));
        clearViews();
        qDeleteAll(reports);
        reports.clear();
    }
    loadReports(&fileList);
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
    addDockWidget(Qt::TopDockWidgetArea, headerDock);
    headerDock->show();
    // Room for the summary's heading, a row per file and the totals row.
    const int rows = int(reports.size()) + 3;
    const int lineHeight = headerView->fontMetrics().height() + 10;
    resizeDocks({headerDock}, {qMin(rows * lineHeight + 12, qMax(height() / 3, 80))}, Qt::Vertical);
}

void QAReporter::hideHeaderDock()
{
    removeDockWidget(headerDock);
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
    criteria->removePattern(QAReporterFilterCriteria::TypeField);
    const bool filterOn = toolBar && toolBar->isFilterOn();
    const bool empty = reports.isEmpty();
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

    for (const QString& type : std::as_const(nodeTypes)) {
        const int id = nextId++;
        QAction* action = add(type, id, [this, id] { typeCheck(id); });
        if (!typesMenuBuilt)
            typeVisible[type] = true;
        action->setCheckable(true);
        action->setChecked(typeVisible.value(type, true));
        if (!typeVisible.value(type, true))
            criteria->addPattern(QAReporterFilterCriteria::TypeField, typePattern(type));
    }
    typesMenuBuilt = true;
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
