#include "qarlistview.h"

#include "qaprogresspulse.h"
#include "qarlistviewitem.h"

#include <QMouseEvent>

namespace {

// Steps through the items of a tree model in the order a tree view shows
// them when every branch is open. The path from the top level down to the
// position is kept, so that each step costs constant time whatever the
// width of a branch; asking an item for its row would search its siblings.
class ItemWalk
{
public:
    ItemWalk(const QAbstractItemModel* model, const QModelIndex& start) : m_model(model)
    {
        for (QModelIndex index = start; index.isValid(); index = index.parent())
            m_path.prepend(index);
    }

    QModelIndex current() const { return m_path.isEmpty() ? QModelIndex() : m_path.last(); }

    bool toNext()
    {
        if (m_model->rowCount(current()) > 0) {
            m_path.append(m_model->index(0, 0, current()));
            return true;
        }
        while (!m_path.isEmpty()) {
            const int row = m_path.takeLast().row();
            const QModelIndex parent = current();
            if (row + 1 < m_model->rowCount(parent)) {
                m_path.append(m_model->index(row + 1, 0, parent));
                return true;
            }
        }
        return false;
    }

    bool toPrevious()
    {
        const int row = m_path.takeLast().row();
        if (row == 0)
            return !m_path.isEmpty(); // the parent comes before its first child
        QModelIndex index = m_model->index(row - 1, 0, current());
        m_path.append(index);
        // The previous row's last descendant is shown right above this row.
        while (const int children = m_model->rowCount(index)) {
            index = m_model->index(children - 1, 0, index);
            m_path.append(index);
        }
        return true;
    }

private:
    const QAbstractItemModel* m_model;
    QList<QModelIndex> m_path; // top-level ancestor first, position last
};

} // namespace

QARListView::QARListView(QWidget* parent) : QAListView(parent)
{
    setColumnCount(2);
}

QARListView::~QARListView() = default;

void QARListView::clearItems()
{
    QList<QTreeWidgetItem*> pending = invisibleRootItem()->takeChildren();
    while (!pending.isEmpty()) {
        QTreeWidgetItem* item = pending.last();
        if (item->childCount() > 0) {
            pending.append(item->takeChildren());
            continue;
        }
        pending.removeLast();
        delete item;
        QAProgressPulse::tick();
    }
}

void QARListView::selectNextFailed()
{
    selectFailed(true);
}

void QARListView::selectPreviousFailed()
{
    selectFailed(false);
}

void QARListView::selectFailed(bool forward)
{
    const QModelIndex start = currentIndex();
    if (!start.isValid())
        return;

    ItemWalk walk(model(), start.siblingAtColumn(0));
    while (forward ? walk.toNext() : walk.toPrevious()) {
        const QModelIndex index = walk.current();
        QARListViewItem* item = QARListViewItem::cast(itemFromIndex(index));
        if (!item || !item->failed())
            continue;
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
        // A leaf has nothing to open; marking it open would only cost the
        // view a persistent index.
        if (model()->hasChildren(index))
            expand(index);
        scrollTo(index);
        emit doubleClicked(item);
        return;
    }
}

void QARListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Unlike the base view, a double click opens and closes nothing: it
    // only tells the window which item to show.
    emit doubleClicked(itemAt(event->position().toPoint()));
    event->accept();
}
