#ifndef QALISTVIEW_H
#define QALISTVIEW_H

#include <QTreeWidget>

// The host's list view: a tree widget set up the way the host's outline
// panes use it. Rows all have the same height, which lets the view lay out
// very large trees without measuring every row, and top-level items carry
// the usual expand indicators. A double click on an item is announced as
// doubleClicked(item).
class QAListView : public QTreeWidget
{
    Q_OBJECT

public:
    explicit QAListView(QWidget* parent = nullptr);
    ~QAListView() override;

signals:
    // The item that was double clicked; null when the click hit no item.
    void doubleClicked(QTreeWidgetItem* item);
};

#endif
