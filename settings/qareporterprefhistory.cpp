#include "qareporterprefhistory.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

QAReporterPrefHistory::QAReporterPrefHistory(const QString& title, const QString& tag,
                                             const QString& helpTag)
    : PreferenceItem(title, tag, helpTag)
{
}

QWidget* QAReporterPrefHistory::createWidget(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(10, 10, 10, 10);
    m_recordBox = new QCheckBox(tr("&Record the runs I open in the history"), box);
    layout->addWidget(m_recordBox);
    auto* form = new QFormLayout;
    m_databaseEdit = new QLineEdit(box);
    m_databaseEdit->setPlaceholderText(tr("SQLite file in the user's data folder"));
    m_databaseEdit->setToolTip(
        tr("An SQLite file, or a shared PostgreSQL database as "
           "postgresql://user@host:port/database (?host=/socket/folder for a local socket)."));
    auto* databaseLabel = new QLabel(tr("&Database:"), box);
    databaseLabel->setBuddy(m_databaseEdit);
    form->addRow(databaseLabel, m_databaseEdit);
    m_runsBox = new QSpinBox(box);
    m_runsBox->setRange(minimumRuns, maximumRuns);
    auto* runsLabel = new QLabel(tr("Runs &looked back on:"), box);
    runsLabel->setBuddy(m_runsBox);
    form->addRow(runsLabel, m_runsBox);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("The trend of the summary, the flaky tests and the recent "
                                    "results of each failed test come from the history."),
                                 box));
    layout->addStretch();
    return box;
}

void QAReporterPrefHistory::updateContents()
{
    if (m_recordBox)
        m_recordBox->setChecked(m_record);
    if (m_databaseEdit)
        m_databaseEdit->setText(m_database);
    if (m_runsBox)
        m_runsBox->setValue(m_lastRuns);
}

void QAReporterPrefHistory::apply()
{
    if (m_recordBox)
        m_record = m_recordBox->isChecked();
    if (m_databaseEdit)
        setDatabase(m_databaseEdit->text());
    if (m_runsBox)
        setLastRuns(m_runsBox->value());
}

void QAReporterPrefHistory::defaults()
{
    m_record = defaultRecord;
    m_database.clear();
    m_lastRuns = defaultRuns;
}
