#ifndef QAREPORTERPREF_H
#define QAREPORTERPREF_H

#include "qaresproducer.h"

#include <QObject>

#include <memory>

class QARes;
class QAReporterPrefGeneral;
class QAReporterPrefHistory;
class QAReporterPrefStyles;
class QAStudioInterface;

// The viewer's preferences: the general page (background, auto raise,
// depth), its child page with the report styles, and their saving to and
// restoring from the host's "REPORTER" resource group.
class QAReporterPref : public QObject, public QAResProducer
{
    Q_OBJECT
public:
    // `studio` may be null: the style file is then looked for under ".".
    explicit QAReporterPref(QAStudioInterface* studio);
    ~QAReporterPref() override;

    QAStudioInterface* studio() const { return m_studio; }
    QAReporterPrefGeneral* general() const { return m_general; }
    QAReporterPrefStyles* stylesPage() const { return m_styles; }
    QAReporterPrefHistory* historyPage() const { return m_history; }

    // A new group tagged `tag` ("REPORTER" when null) holding background,
    // auto_raise, auto_depth, STYLES and HISTORY, in that order; the caller
    // owns it.
    QARes* produce(const char* tag) override;
    // Restores the values saved in a "REPORTER" group; anything missing or
    // of the wrong type keeps its current value.
    void loadResources(QARes* group);

public slots:
    void prefDialogAccepted();
    void prefDialogRejected();

signals:
    void preferencesChanged();

private:
    void loadStyles(QARes* stylesGroup);
    void loadHistory(QARes* historyGroup);

    QAStudioInterface* m_studio;
    QAReporterPrefGeneral* m_general;
    QAReporterPrefStyles* m_styles;
    QAReporterPrefHistory* m_history;
};

// The process-wide preferences object; null until it is created.
QAReporterPref* reporterPreferences();
// Creates the process-wide preferences object on the first call and returns
// it; later calls return the same object whatever their argument.
QAReporterPref* createReporterPreferences(QAStudioInterface* studio);
// Makes preferences (may be null) the process-wide object and hands back the
// one it replaces, so that a caller can put it back later.
std::unique_ptr<QAReporterPref>
installReporterPreferences(std::unique_ptr<QAReporterPref> preferences);

#endif
