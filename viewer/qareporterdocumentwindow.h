#ifndef QAREPORTERDOCUMENTWINDOW_H
#define QAREPORTERDOCUMENTWINDOW_H

#include <QWidget>

#include <memory>

class DDocument;
class DLink;
class DReportWidget;

// A window of its own that shows a document it owns: the comparison of two
// runs, the flaky tests. Its links go to the viewer window that made it,
// which follows them into the reports.
class QAReporterDocumentWindow : public QWidget
{
    Q_OBJECT
public:
    QAReporterDocumentWindow(std::unique_ptr<DDocument> document, const QString& title,
                             QWidget* parent);
    ~QAReporterDocumentWindow() override;

    DReportWidget* view() const { return m_view; }
    DDocument* document() const { return m_document.get(); }

signals:
    void linkActivated(DLink* link);

private:
    std::unique_ptr<DDocument> m_document;
    DReportWidget* m_view;
};

#endif
