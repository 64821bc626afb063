#include "qareportsession.h"
#include "qareportercases.h"
#include "qareportercomparison.h"

#include "ddocument.h"
#include "qafreedmemory.h"
#include "qalinktarget.h"
#include "qareporterdata.h"
#include "qareporterfilter.h"
#include "qareporterlinkindex.h"
#include "qareporterlinktarget.h"
#include "qareporterloader.h"
#include "qareportersummary.h"
#include "qatestcount.h"
#include "qaxrodwriter.h"

#include <QCoreApplication>

#include <QFileInfo>
#include <QHash>

#include <vector>

namespace {

QRegularExpression typePattern(const QString& type)
{
    return QRegularExpression(QRegularExpression::escape(type));
}

void walkRecord(const QAReporterData& record,
                const std::function<void(const QAReportSession::TreeEntry&)>& visit)
{
    using Node = QTreeNode<QAReporterNode>;
    const Node* root = record.tree ? record.tree->root() : nullptr;
    if (!root || !root->data)
        return;
    QAReportSession::TreeEntry entry;
    entry.name = QFileInfo(record.fileName).fileName();
    entry.status = QStringLiteral("--");
    visit(entry);
    // Depth first with an explicit stack: report trees can be deep.
    std::vector<std::pair<const Node*, int>> pending;
    for (auto child = root->children.crbegin(); child != root->children.crend(); ++child)
        pending.emplace_back(*child, 1);
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        const QAReporterNode* data = node->data;
        entry.name = data ? data->name : QString();
        entry.type = data ? data->type : QString();
        entry.status = data ? data->statusWord() : QStringLiteral("--");
        entry.depth = depth;
        entry.node = data;
        visit(entry);
        for (auto child = node->children.crbegin(); child != node->children.crend(); ++child)
            pending.emplace_back(*child, depth + 1);
    }
}

} // namespace

QAReportSession::QAReportSession()
    : m_filter(std::make_unique<QAReporterFilter>()),
      m_linkIndex(std::make_unique<QAReporterLinkIndex>())
{
}

QAReportSession::~QAReportSession()
{
    clear();
}

QAReportSession::LoadErrors QAReportSession::load(const QStringList& paths,
                                                  QAStudioInterface* progress,
                                                  const QList<DStyle*>& styles)
{
    LoadErrors errors;
    QAReporterLoader loader(progress, styles);
    const qsizetype before = m_records.size();
    if (!loader.load(paths, m_records))
        errors.outOfMemoryPath = loader.outOfMemoryPath();
    errors.missing = loader.missing();
    errors.reasons = loader.reasons();
    collectNodeTypes(m_records.mid(before));
    makeDocumentNamesUnique();
    showAllTypes();
    m_assembled = false;
    return errors;
}

void QAReportSession::addRecord(QAReporterData* record)
{
    m_records.append(record);
    m_assembled = false;
}

void QAReportSession::recordRead(QAReporterData* record)
{
    collectNodeTypes({record});
    makeDocumentNamesUnique();
    showAllTypes();
    m_assembled = false;
}

void QAReportSession::setTrend(const QList<QAReporterTrendPoint>& trend)
{
    m_trend = trend;
    m_assembled = false;
}

QList<QAReporterCase> QAReportSession::cases() const
{
    return QAReporterCases::collect(m_records);
}

std::unique_ptr<QAReporterComparison> QAReportSession::compareWith(const QString& earlierFile,
                                                                   QAStudioInterface* progress,
                                                                   const QList<DStyle*>& styles,
                                                                   LoadErrors* errors) const
{
    QList<QAReporterData*> earlierRecords;
    QAReporterLoader loader(progress, styles);
    if (!loader.load({earlierFile}, earlierRecords))
        errors->outOfMemoryPath = loader.outOfMemoryPath();
    errors->missing = loader.missing();
    errors->reasons = loader.reasons();
    if (earlierRecords.isEmpty())
        return nullptr;
    QList<QAReporterCase> earlier = QAReporterCases::collect(earlierRecords);
    for (QAReporterCase& testCase : earlier)
        testCase.node = nullptr;
    qDeleteAll(earlierRecords);
    QAFreedMemory::giveBack();
    return std::make_unique<QAReporterComparison>(std::move(earlier), cases());
}

void QAReportSession::clear()
{
    clearAssembly();
    qDeleteAll(m_records);
    m_records.clear();
    m_assembled = false;
}

QStringList QAReportSession::loadedFiles() const
{
    QStringList files;
    for (const QAReporterData* record : m_records)
        files << record->fileName;
    return files;
}

void QAReportSession::collectNodeTypes(const QList<QAReporterData*>& records)
{
    for (const QAReporterData* record : records) {
        for (const QString& type : record->types) {
            if (!m_nodeTypes.contains(type))
                m_nodeTypes.append(type);
        }
    }
}

// A document whose name an earlier one has gets "_1", "_2"... appended,
// the first that no other document has: names are the targets of links
// and the names of exported pages.
void QAReportSession::makeDocumentNamesUnique()
{
    QSet<QString> taken;
    for (QAReporterData* record : std::as_const(m_records)) {
        DDocument* document = record->document.get();
        if (!document)
            continue;
        QString name = document->name();
        for (int suffix = 1; taken.contains(name); ++suffix)
            name = document->name() + QLatin1Char('_') + QString::number(suffix);
        if (name != document->name())
            document->setName(name);
        taken.insert(name);
    }
}

void QAReportSession::setFailedOnly(bool on)
{
    if (on != m_failedOnly)
        m_assembled = false;
    m_failedOnly = on;
}

void QAReportSession::setTypeHidden(const QString& type, bool hidden)
{
    if (hidden == m_hiddenTypes.contains(type))
        return;
    if (hidden)
        m_hiddenTypes.insert(type);
    else
        m_hiddenTypes.remove(type);
    m_assembled = false;
}

void QAReportSession::showAllTypes()
{
    if (m_hiddenTypes.isEmpty())
        return;
    m_hiddenTypes.clear();
    m_assembled = false;
}

QAReporterFilterCriteria QAReportSession::criteria() const
{
    QAReporterFilterCriteria criteria;
    if (m_failedOnly)
        criteria.addPattern(QAReporterFilterCriteria::StateField,
                            QRegularExpression(QStringLiteral("ko")));
    // In the order the types were first seen, so that the criteria do not
    // depend on the order in which they were hidden.
    for (const QString& type : m_nodeTypes) {
        if (m_hiddenTypes.contains(type))
            criteria.addPattern(QAReporterFilterCriteria::TypeField, typePattern(type));
    }
    return criteria;
}

QAReportSession::Assembly::Assembly() = default;

QAReportSession::Assembly::~Assembly() = default;

void QAReportSession::assemble()
{
    if (m_assembled)
        return;
    clearAssembly();
    adopt(assemblyJob()());
}

std::function<std::unique_ptr<QAReportSession::Assembly>()> QAReportSession::assemblyJob() const
{
    return [records = m_records, criteria = criteria(), trend = m_trend] {
        auto assembly = std::make_unique<Assembly>();
        assembly->filter = std::make_unique<QAReporterFilter>();
        assembly->filter->setCriteria(criteria);
        assembly->filter->apply(records);
        assembly->linkIndex = std::make_unique<QAReporterLinkIndex>();
        assembly->linkIndex->build(assembly->filter->filteredRecords());
        assembly->summary.reset(QAReporterSummary::buildSummary(records, trend));
        assembly->summary->setName(QStringLiteral("index"));
        return assembly;
    };
}

void QAReportSession::adopt(std::unique_ptr<Assembly> assembly)
{
    m_filter = std::move(assembly->filter);
    m_linkIndex = std::move(assembly->linkIndex);
    m_summary = std::move(assembly->summary);
    m_assembled = true;
}

void QAReportSession::clearAssembly()
{
    m_summary.reset();
    m_linkIndex->clear();
    m_filter->clearFilteredRecords();
    m_assembled = false;
}

const QList<QAReporterData*>& QAReportSession::filteredRecords() const
{
    return m_filter->filteredRecords();
}

QAReporterNode* QAReportSession::findLinkNode(const DLink* link) const
{
    return m_linkIndex->nodeOf(link);
}

qint64 QAReportSession::failedTotal() const
{
    qint64 total = 0;
    for (const QAReporterData* record : m_records)
        total = QATestCount::add(total, record->koCount);
    return total;
}

qint64 QAReportSession::passedTotal() const
{
    qint64 total = 0;
    for (const QAReporterData* record : m_records)
        total = QATestCount::add(total, record->okCount);
    return total;
}

QString QAReportSession::totalsText(const QString& testNode) const
{
    QString text;
    if (!testNode.isEmpty())
        text += QStringLiteral("TestNode: ") + testNode + QLatin1Char('\n');
    text += QStringLiteral("\t[%1] Test Case Passed\n").arg(passedTotal());
    text += QStringLiteral("\t[%1] Test Case Failed\n").arg(failedTotal());
    return text;
}

bool QAReportSession::writeReport(const QString& path, QString* error, QStringList* warnings) const
{
    if (m_records.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("QAReporter",
                                                 "No report is loaded: %1 was not written.")
                         .arg(path);
        return false;
    }
    return QAXrodWriter::writeFile(path, m_records, error, warnings);
}

void QAReportSession::walkTree(const std::function<void(const TreeEntry&)>& visit) const
{
    for (const QAReporterData* record : filteredRecords())
        walkRecord(*record, visit);
}

bool QAReportSession::reportFile(const QALinkTarget& link, QString* file) const
{
    const QString current = m_records.isEmpty() ? QString() : m_records.first()->fileName;
    return QAReporterLinkTarget::reportFile(link, current, file);
}

QString QAReportSession::sourceLocation(const DLink* link, const QString& target) const
{
    const QALinkTarget source = QALinkTarget::parse(target);
    if (source.isSource() && QAReporterLinkTarget::needsBase(source)) {
        if (const QAReporterNode* node = findLinkNode(link))
            return QAReporterLinkTarget::withBase(node->base(), source);
    }
    return target;
}
