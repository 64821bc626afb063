#ifndef QAREPORTERDEFECTREPORT_H
#define QAREPORTERDEFECTREPORT_H

#include <QCoreApplication>
#include <QString>

class QAReporter;
class QARListViewItem;
class QAStOutputWidget;
class TallyvaneInterface;

// Opens a new defect in the host's defect tracker for the item selected in
// a viewer window's report tree: a headline and a description that name the
// workspace, the test, the report file, the failed item and its type, and
// the report file attached. Progress and errors go to the host's output
// pane, when it has one.
class QAReporterDefectReport
{
    Q_DECLARE_TR_FUNCTIONS(QAReporter)

public:
    explicit QAReporterDefectReport(QAReporter* window);

    void run();

    // The texts of the last run, once the item was found.
    QString headline() const { return m_headline; }
    QString description() const { return m_description; }

private:
    void describe(QARListViewItem* item);
    void fillForm(TallyvaneInterface* client, const QString& attachment);
    void appendCmdLine(TallyvaneInterface* client);
    void append(const QString& text);

    QAReporter* m_window;
    QAStOutputWidget* m_out = nullptr;
    QString m_headline;
    QString m_description;
};

#endif
