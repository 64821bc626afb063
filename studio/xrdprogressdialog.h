#ifndef XRDPROGRESSDIALOG_H
#define XRDPROGRESSDIALOG_H

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>

class QWidget;

// The progress of a long parse. Steps can come thousands of times a second:
// the dialog is updated, and events processed, at most every 50 ms, and it
// shows only once a run has lasted 400 ms. A total of 0 steps shows a busy
// indicator. The reader cannot stop in the middle of a file, so Cancel
// only hides the dialog for the rest of the run and emits canceled().
class XrdProgressDialog : public QObject
{
    Q_OBJECT

public:
    explicit XrdProgressDialog(QWidget* parent);
    ~XrdProgressDialog() override;

    void start(int totalSteps, const QString& label, const QString& cancelLabel);
    void step(int step);
    void end();

    bool isRunning() const { return m_running; }
    QProgressDialog* dialog() const { return m_dialog; }

signals:
    void canceled(const QString& label);

private:
    void cancel();

    QWidget* m_parent;
    QPointer<QProgressDialog> m_dialog;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceUpdate;
    QString m_label;
    int m_total = 0;
    bool m_running = false;
    bool m_canceled = false;
};

#endif
