#ifndef QAREPORTERCOMPARISONWINDOW_H
#define QAREPORTERCOMPARISONWINDOW_H

#include <QWidget>

#include <memory>

class DDocument;
class DLink;
class DReportWidget;

// A window of its own that shows the comparison of two runs, a document it
// owns. Its links go to the viewer window that made it, which follows them
// into the runs compared.
class QAReporterComparisonWindow : public QWidget
{
    Q_OBJECT
public:
    QAReporterComparisonWindow(std::unique_ptr<DDocument> document, const QString& title,
                               QWidget* parent);
    ~QAReporterComparisonWindow() override;

    DReportWidget* view() const { return m_view; }
    DDocument* document() const { return m_document.get(); }

signals:
    void linkActivated(DLink* link);

private:
    std::unique_ptr<DDocument> m_document;
    DReportWidget* m_view;
};

#endif
