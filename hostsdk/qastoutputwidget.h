#ifndef QASTOUTPUTWIDGET_H
#define QASTOUTPUTWIDGET_H

#include "qailogmonitor.h"

#include <QPlainTextEdit>

// The host's output pane: read-only text that grows at the end. As a log
// monitor it counts the errors written to it.
class QAStOutputWidget : public QPlainTextEdit, public QAILogMonitor
{
    Q_OBJECT

public:
    explicit QAStOutputWidget(QWidget* parent = nullptr);
    ~QAStOutputWidget() override;

    // Adds text at the end as it is (line feeds included) and shows the end
    // once control returns to the event loop.
    void append(const QString& text);

    void log(const QString& text) override;
    void error(const QString& text) override;
    int errorCount() const override { return m_errors; }
    void resetError() override { m_errors = 0; }

private:
    void scrollToEnd();

    int m_errors = 0;
    bool m_scrollQueued = false;
};

#endif
