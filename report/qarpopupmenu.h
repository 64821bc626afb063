#ifndef QARPOPUPMENU_H
#define QARPOPUPMENU_H

#include <QMenu>

class QTreeWidgetItem;

// The context menu of the report tree. The viewer window fills it and
// remembers in it the item the menu was opened on.
class QARPopupMenu : public QMenu
{
    Q_OBJECT

public:
    explicit QARPopupMenu(QWidget* parent = nullptr);
    ~QARPopupMenu() override;

    // The tree item the menu was opened on; null when none.
    QTreeWidgetItem* targetItem = nullptr;
};

#endif
