#include "qareporterdatatree.h"

#include "qapixmapcenter.h"
#include "qaprogresspulse.h"
#include "qareporterpref.h"
#include "qareporterprefgeneral.h"
#include "qarlistviewitem.h"

#include <QHash>
#include <QIcon>
#include <QTreeWidget>
#include <algorithm>

namespace {

// The depth to which a freshly filled tree opens when no preferences exist.
const int DefaultOpenDepth = 4;

// The icons of one filling, each made once: a report tree can have a
// hundred thousand items, most of them sharing a handful of pictures.
class ItemIcons
{
public:
    ItemIcons()
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

int openDepth()
{
    const QAReporterPref* preferences = reporterPreferences();
    return preferences ? preferences->general()->depth() : DefaultOpenDepth;
}

QARListViewItem* createFileItem(const QString& fileName, const QAReporterNode* root,
                                const ItemIcons& icons)
{
    auto* item = new QARListViewItem;
    item->filePath = fileName;
    item->setText(0, QFileInfo(fileName).fileName());
    item->setIcon(0, icons.file);
    item->startItem = root->startItem;
    return item;
}

// The node's name, icon and status are shown from the item's members,
// not set into the base item, which would allocate for each of them.
QARListViewItem* createNodeItem(QAReporterNode* node, ItemIcons& icons)
{
    auto* item = new QARListViewItem;
    item->node = node;
    if (!node->icon.isNull())
        item->setNodeIcon(icons.nodeIcon(node->icon));
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

// An item whose children are being collected. The reverse walk meets them
// last first, so they are handed to the item once, in reverse, when the
// walk leaves the branch: inserting each one first as it comes would shift
// all its siblings every time.
struct Branch
{
    QTreeWidgetItem* item;
    QList<QTreeWidgetItem*> children;

    void close()
    {
        std::reverse(children.begin(), children.end());
        item->insertChildren(0, children);
    }
};

// Opens the file item, and every item with children whose depth in the
// view is below depth. Works on model indexes: finding an item's row from
// the item would search its siblings, which is slow in wide branches.
void openItems(QTreeWidget* view, int depth)
{
    const QAbstractItemModel* model = view->model();
    QList<QPair<QModelIndex, int>> pending{{model->index(0, 0), 0}};
    view->expand(pending.first().first);
    while (!pending.isEmpty()) {
        const auto [index, level] = pending.takeLast();
        if (level + 1 >= depth)
            continue;
        for (int row = 0, rows = model->rowCount(index); row < rows; ++row) {
            const QModelIndex child = model->index(row, 0, index);
            if (model->hasChildren(child)) {
                view->expand(child);
                pending.append({child, level + 1});
            }
        }
    }
}

} // namespace

QAReporterDataTree::QAReporterDataTree(QAReporterNode* root) : QTree<QAReporterNode>(root)
{
    setAutoDelete(true);
}

QAReporterDataTree::~QAReporterDataTree() = default;

void QAReporterDataTree::fillListView(QTreeWidget* view, const QString& fileName)
{
    if (!view || !iterator())
        return;
    QAReporterNode* root = iterator()->toRoot();
    if (!root)
        return;

    ItemIcons icons;
    QARListViewItem* fileItem = createFileItem(fileName, root, icons);

    // The items are built outside the view and inserted at once: a view
    // would announce every single insertion to its model.
    QList<Branch> parents;
    QTreeWidgetItem* last = fileItem;
    int level = 1; // the file item's level; a node's is its depth + 1
    while (QAReporterNode* node = next(ReversePreOrder)) {
        QAProgressPulse::tick();
        const int nodeLevel = iterator()->depth() + 1;
        if (nodeLevel > level) {
            parents.append(Branch{last, {}});
            ++level;
        }
        for (; nodeLevel < level; --level)
            parents.takeLast().close();
        last = createNodeItem(node, icons);
        parents.last().children.append(last);
    }
    while (!parents.isEmpty())
        parents.takeLast().close();

    view->insertTopLevelItem(0, fileItem);
    openItems(view, openDepth());
}
