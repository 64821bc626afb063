#include "qareporterdocumentwindow.h"

#include "ddocument.h"
#include "dreportwidget.h"

#include <QKeySequence>
#include <QShortcut>
#include <QVBoxLayout>

QAReporterDocumentWindow::QAReporterDocumentWindow(std::unique_ptr<DDocument> document,
                                                   const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window), m_document(std::move(document)), m_view(new DReportWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setDocument(m_document.get(), true);
    connect(m_view, &DReportWidget::activatedLink, this, &QAReporterDocumentWindow::linkActivated);
    auto* close = new QShortcut(QKeySequence::Close, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    resize(760, 560);
}

QAReporterDocumentWindow::~QAReporterDocumentWindow()
{
    // The view lets go of the document before it goes.
    m_view->clearDocs();
}
