#ifndef QAREPORTERLOADINGBAR_H
#define QAREPORTERLOADINGBAR_H

#include <QToolBar>

class QLabel;
class QProgressBar;

// The bar below a report that is still being read: what is read, how far,
// and a Cancel button (Escape) that keeps what was read so far.
class QAReporterLoadingBar : public QToolBar
{
    Q_OBJECT

public:
    explicit QAReporterLoadingBar(QWidget* parent = nullptr);

    void start(const QString& fileName);
    void setProgress(qint64 done, qint64 total);
    // Read: the rest of the work has no count of steps.
    void preparing();

signals:
    void cancelRequested();

private:
    QAction* m_cancel;
    QLabel* m_label;
    QProgressBar* m_progress;
};

#endif
