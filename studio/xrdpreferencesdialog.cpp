#include "xrdpreferencesdialog.h"

#include "preferencepageinterface.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

XrdPreferencesDialog::XrdPreferencesDialog(PreferencePageInterface* first, QWidget* parent)
    : QDialog(parent), m_tree(new QTreeWidget), m_stack(new QStackedWidget),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                     QDialogButtonBox::RestoreDefaults))
{
    setWindowTitle(tr("Preferences"));
    setObjectName(QStringLiteral("xrdview-preferences"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    auto* splitter = new QSplitter;
    splitter->addWidget(m_tree);
    splitter->addWidget(m_stack);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({180, 520});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_buttons);

    addPages(first, nullptr);
    m_tree->expandAll();
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showPage(item); });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            &XrdPreferencesDialog::restoreDefaults);
    if (m_tree->topLevelItemCount() > 0)
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
    resize(760, 520);
}

void XrdPreferencesDialog::addPages(PreferencePageInterface* first, QTreeWidgetItem* parent)
{
    // Siblings in a loop, children by recursion: page trees are shallow.
    for (PreferencePageInterface* page = first; page; page = page->next()) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
        item->setText(0, page->title());
        item->setData(0, Qt::UserRole, int(m_pages.size()));
        m_pages << page;
        auto* scroll = new QScrollArea;
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(page->createWidget(scroll));
        m_stack->addWidget(scroll);
        page->updateContents();
        addPages(page->child(), item);
    }
}

void XrdPreferencesDialog::showPage(QTreeWidgetItem* item)
{
    if (item)
        m_stack->setCurrentIndex(item->data(0, Qt::UserRole).toInt());
}

void XrdPreferencesDialog::accept()
{
    for (PreferencePageInterface* page : std::as_const(m_pages))
        page->apply();
    QDialog::accept();
}

void XrdPreferencesDialog::reject()
{
    for (PreferencePageInterface* page : std::as_const(m_pages))
        page->cancel();
    QDialog::reject();
}

void XrdPreferencesDialog::restoreDefaults()
{
    const int index = m_stack->currentIndex();
    if (index < 0 || index >= m_pages.size())
        return;
    m_pages.at(index)->defaults();
    m_pages.at(index)->updateContents();
}
