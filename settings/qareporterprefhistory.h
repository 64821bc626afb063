#ifndef QAREPORTERPREFHISTORY_H
#define QAREPORTERPREFHISTORY_H

#include "preferenceitem.h"

#include <QPointer>
#include <QString>

class QCheckBox;
class QLineEdit;
class QSpinBox;

// The "Run History" preferences page: whether the runs the user opens are
// recorded, where (an SQLite file or a PostgreSQL URL; empty for the file
// under the user's data folder) and over how many runs the trend, the flaky
// list and each case's marks look back.
class QAReporterPrefHistory : public PreferenceItem
{
    Q_OBJECT
public:
    QAReporterPrefHistory(const QString& title, const QString& tag, const QString& helpTag);

    bool recordsRuns() const { return m_record; }
    void setRecordsRuns(bool on) { m_record = on; }
    const QString& database() const { return m_database; }
    void setDatabase(const QString& url) { m_database = url.trimmed(); }
    int lastRuns() const { return m_lastRuns; }
    void setLastRuns(int runs) { m_lastRuns = qBound(minimumRuns, runs, maximumRuns); }

    static constexpr bool defaultRecord = false;
    static constexpr int defaultRuns = 10;
    static constexpr int minimumRuns = 2;
    static constexpr int maximumRuns = 100;

    QWidget* createWidget(QWidget* parent) override;
    void updateContents() override;
    void apply() override;
    void defaults() override;

private:
    bool m_record = defaultRecord;
    QString m_database;
    int m_lastRuns = defaultRuns;
    QPointer<QCheckBox> m_recordBox;
    QPointer<QLineEdit> m_databaseEdit;
    QPointer<QSpinBox> m_runsBox;
};

#endif
