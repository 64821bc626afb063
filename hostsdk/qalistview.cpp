#include "qalistview.h"

QAListView::QAListView(QWidget* parent) : QTreeWidget(parent)
{
    setUniformRowHeights(true);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { emit doubleClicked(item); });
}

QAListView::~QAListView() = default;
