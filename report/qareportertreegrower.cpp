#include "qareportertreegrower.h"

#include "qapixmapcenter.h"
#include "qaprogresspulse.h"
#include "qareporterdatatree.h"
#include "qareporterpref.h"
#include "qareporterprefgeneral.h"
#include "qarlistviewitem.h"

#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QTreeWidget>

// The icons of one filling, each made once: a report tree can have a
// hundred thousand items, most of them sharing a handful of pictures.
class QAReporterTreeGrower::Icons
{
public:
    Icons()
        : file(GETPIX("reporter_16_bis_xpm", ":/pixmaps/reporter_16_bis.xpm")),
          passed(GETPIX("testok_xpm", ":/pixmaps/testok.xpm")),
          failed(GETPIX("testsfailed_xpm", ":/pixmaps/testsfailed.xpm")),
          unknown(GETPIX("testunknow_xpm", ":/pixmaps/testunknow.xpm"))
    {
    }

    // The node's own icon, a file found through the pixmap centre, or the
    // unknown-test picture when there is no such file.
    QIcon nodeIcon(const QString& fileName)
    {
        auto cached = m_nodeIcons.find(fileName);
        if (cached == m_nodeIcons.end()) {
            QAPixmapCenter* center = pixmapcenter();
            const QString path = center->getPathByFileName(fileName);
            cached = m_nodeIcons.insert(
                fileName, path.isEmpty() ? unknown : QIcon(center->getPixmapByFilePath(path)));
        }
        return *cached;
    }

    const QIcon file;
    const QIcon passed;
    const QIcon failed;
    const QIcon unknown;

private:
    QHash<QString, QIcon> m_nodeIcons;
};

namespace {

// The depth to which a freshly filled tree opens when no preferences exist.
const int DefaultOpenDepth = 4;

int openDepth()
{
    const QAReporterPref* preferences = reporterPreferences();
    return preferences ? preferences->general()->depth() : DefaultOpenDepth;
}

QARListViewItem* createFileItem(const QString& fileName, const QAReporterNode* root,
                                const QAReporterTreeGrower::Icons& icons)
{
    auto* item = new QARListViewItem;
    item->setFilePath(fileName);
    item->setText(0, QFileInfo(fileName).fileName());
    item->setIcon(0, icons.file);
    item->startItem = root->startItem;
    return item;
}

// The node's name, icon and status are shown from the item's members,
// not set into the base item, which would allocate for each of them.
QARListViewItem* createNodeItem(QAReporterNode* node, QAReporterTreeGrower::Icons& icons)
{
    auto* item = new QARListViewItem;
    item->node = node;
    if (!node->icon().isNull())
        item->setNodeIcon(icons.nodeIcon(node->icon()));
    // The node says which states show a status; any other gets no icon.
    const QString status = node->statusWord();
    if (status == QLatin1String("ok"))
        item->setStatus(QARListViewItem::Passed, icons.passed);
    else if (status == QLatin1String("KO"))
        item->setStatus(QARListViewItem::Failed, icons.failed);
    else if (status == QLatin1String("ne"))
        item->setStatus(QARListViewItem::NotExecuted, icons.unknown);
    item->startItem = node->startItem;
    return item;
}

} // namespace

QAReporterTreeGrower::QAReporterTreeGrower(QTreeWidget* view, const QString& fileName,
                                           QAReporterDataTree* tree, int depth)
    : m_view(view), m_icons(std::make_unique<Icons>()), m_openDepth(depth < 0 ? openDepth() : depth)
{
    QAReporterNode* root = tree && tree->rootNode() ? tree->rootNode()->data : nullptr;
    if (!view || !root)
        return;
    m_fileItem = createFileItem(fileName, root, *m_icons);
    view->insertTopLevelItem(0, m_fileItem);
    m_fileItem->setExpanded(true);
    m_spine.push_back({tree->rootNode(), m_fileItem, 0, 0});
}

QAReporterTreeGrower::~QAReporterTreeGrower() = default;

void QAReporterTreeGrower::setItemStarted(const std::function<void(QARListViewItem*)>& started)
{
    m_started = started;
    if (m_fileItem)
        noteStarted(m_fileItem);
}

void QAReporterTreeGrower::noteStarted(QTreeWidgetItem* item)
{
    QARListViewItem* listItem = QARListViewItem::cast(item);
    if (m_started && listItem && listItem->startItem)
        m_started(listItem);
}

QARListViewItem* QAReporterTreeGrower::makeItem(QAReporterNode* node)
{
    QARListViewItem* item = createNodeItem(node, *m_icons);
    ++m_itemCount;
    noteStarted(item);
    return item;
}

void QAReporterTreeGrower::grow()
{
    // Nodes still open may have found their first report item since.
    for (const Level& level : m_spine) {
        QARListViewItem* item = QARListViewItem::cast(level.item);
        if (item && !item->startItem && level.node->data && level.node->data->startItem) {
            item->startItem = level.node->data->startItem;
            noteStarted(item);
        }
    }
    for (size_t index = 0; index < m_spine.size(); ++index) {
        const int count = int(m_spine[index].node->children.size());
        if (count == m_spine[index].done)
            continue;
        // A later sibling came: the branch below this level is complete.
        for (size_t deeper = m_spine.size() - 1; deeper > index; --deeper)
            addComplete(m_spine[deeper], m_spine[deeper].done);
        m_spine.resize(index + 1);
        Level& level = m_spine[index];
        addComplete(level, level.done);
        level.done = count;
        // The last child, and the last of its children..., may still get
        // children: they are the open levels below.
        Node* node = level.node;
        QTreeWidgetItem* item = level.item;
        int depth = level.depth;
        while (!node->children.isEmpty()) {
            node = node->children.last();
            item = item->child(item->childCount() - 1);
            m_spine.push_back({node, item, int(node->children.size()), ++depth});
        }
    }
}

void QAReporterTreeGrower::addComplete(const Level& level, int child)
{
    const QList<Node*>& children = level.node->children;
    if (child >= children.size())
        return;
    QList<QTreeWidgetItem*> batch;
    QList<QTreeWidgetItem*> toOpen;
    // Subtrees are built outside the view, each item's children handed to
    // it at once, then inserted below level's item in one go.
    struct Pending
    {
        Node* node;
        QTreeWidgetItem* item;
        int depth;
    };
    QList<Pending> pending;
    for (int index = child; index < children.size(); ++index) {
        QARListViewItem* item = makeItem(children.at(index)->data);
        batch.append(item);
        pending.append({children.at(index), item, level.depth + 1});
    }
    while (!pending.isEmpty()) {
        const Pending branch = pending.takeLast();
        if (branch.node->children.isEmpty())
            continue;
        QList<QTreeWidgetItem*> items;
        for (Node* node : branch.node->children) {
            QAProgressPulse::tick();
            QARListViewItem* item = makeItem(node->data);
            items.append(item);
            pending.append({node, item, branch.depth + 1});
        }
        branch.item->addChildren(items);
        if (branch.depth < m_openDepth)
            toOpen.append(branch.item);
    }
    level.item->addChildren(batch);
    if (level.depth < m_openDepth)
        level.item->setExpanded(true);
    for (QTreeWidgetItem* item : std::as_const(toOpen))
        item->setExpanded(true);
}

void QAReporterTreeGrower::open(int depth)
{
    if (!m_fileItem)
        return;
    m_openDepth = depth < 0 ? openDepth() : depth;
    // One walk and one layout, instead of one layout per item opened.
    m_view->expandRecursively(m_view->indexFromItem(m_fileItem), qMax(0, m_openDepth - 1));
}
