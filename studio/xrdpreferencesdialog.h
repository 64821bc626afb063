#ifndef XRDPREFERENCESDIALOG_H
#define XRDPREFERENCESDIALOG_H

#include <QDialog>
#include <QList>

class PreferencePageInterface;
class QDialogButtonBox;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The plug-in's preference pages: their tree on the left, the selected page
// on the right. OK applies every page, Cancel cancels every page, Defaults
// resets the page shown.
class XrdPreferencesDialog : public QDialog
{
    Q_OBJECT

public:
    XrdPreferencesDialog(PreferencePageInterface* first, QWidget* parent = nullptr);

    QTreeWidget* pageTree() const { return m_tree; }
    QDialogButtonBox* buttons() const { return m_buttons; }
    int pageCount() const { return int(m_pages.size()); }

    void accept() override;
    void reject() override;

public slots:
    void restoreDefaults();

private:
    void addPages(PreferencePageInterface* first, QTreeWidgetItem* parent);
    void showPage(QTreeWidgetItem* item);

    QTreeWidget* m_tree;
    QStackedWidget* m_stack;
    QDialogButtonBox* m_buttons;
    QList<PreferencePageInterface*> m_pages; // in tree order; item data is the index
};

#endif
