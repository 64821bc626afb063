#include "qareportercomparisonwindow.h"

#include "ddocument.h"
#include "dreportwidget.h"

#include <QKeySequence>
#include <QShortcut>
#include <QVBoxLayout>

QAReporterComparisonWindow::QAReporterComparisonWindow(std::unique_ptr<DDocument> document,
                                                       const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window), m_document(std::move(document)), m_view(new DReportWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setDocument(m_document.get(), true);
    connect(m_view, &DReportWidget::activatedLink, this,
            &QAReporterComparisonWindow::linkActivated);
    auto* close = new QShortcut(QKeySequence::Close, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    resize(760, 560);
}

QAReporterComparisonWindow::~QAReporterComparisonWindow()
{
    // The view lets go of the document before it goes.
    m_view->clearDocs();
}
