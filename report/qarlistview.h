#ifndef QARLISTVIEW_H
#define QARLISTVIEW_H

#include "qalistview.h"

// The report tree of a viewer window: one top-level item per report file,
// below it the test nodes. Column 0 shows the node's name and icon, column
// 1 its status icon. A double click only announces the item; it neither
// opens nor closes it.
class QARListView : public QAListView
{
    Q_OBJECT

public:
    explicit QARListView(QWidget* parent = nullptr);
    ~QARListView() override;

    // Selects, opens and shows the next (previous) failed item after
    // (before) the current one in the view's order, closed branches
    // included, and announces it with doubleClicked(item). Nothing happens
    // without a current item or when there is no further failed item: the
    // search does not wrap around.
    void selectNextFailed();
    void selectPreviousFailed();

    // Removes every item, as clear() does, then deletes them one by one from
    // the leaves up, so that a large tree goes without deep recursion and
    // with the progress pulse beating.
    void clearItems();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void selectFailed(bool forward);
};

#endif
