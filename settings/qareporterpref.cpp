#include "qareporterpref.h"

#include "dstyle.h"
#include "dstyleserialize.h"
#include "qareporterprefgeneral.h"
#include "qareporterprefhistory.h"
#include "qareporterprefstyles.h"
#include "qaresboolean.h"
#include "qaresgroup.h"
#include "qaresint.h"
#include "qaresrgb.h"
#include "qaresstring.h"
#include "qastudiointerface.h"

#include <QDir>

namespace {

QAReporterPref* processPreferences = nullptr;

const char* const pageTag = "pref-report";

// The "name" string of a saved style group, or null when it has none.
const QAResString* savedStyleName(const QAResGroup* group)
{
    const QARes* name = group->child() ? group->child()->search("name", '.') : nullptr;
    return name ? name->toResString() : nullptr;
}

} // namespace

QAReporterPref* reporterPreferences()
{
    return processPreferences;
}

QAReporterPref* createReporterPreferences(QAStudioInterface* studio)
{
    if (!processPreferences)
        processPreferences = new QAReporterPref(studio);
    return processPreferences;
}

std::unique_ptr<QAReporterPref>
installReporterPreferences(std::unique_ptr<QAReporterPref> preferences)
{
    std::unique_ptr<QAReporterPref> previous(processPreferences);
    processPreferences = preferences.release();
    return previous;
}

QAReporterPref::QAReporterPref(QAStudioInterface* studio) : m_studio(studio)
{
    const QString home = studio ? studio->homeDir() : QStringLiteral(".");
    const QString styleFile = home + QDir::separator() + QStringLiteral("lib") + QDir::separator() +
                              QStringLiteral("reporterstyle.aml");
    m_general = new QAReporterPrefGeneral(
        tr("Report Viewer", "Reporter Plugin Preference First Item Title"),
        QString::fromLatin1(pageTag), QString::fromLatin1(pageTag), studio);
    m_styles = new QAReporterPrefStyles(
        tr("Styles", "Reporter Plugin Preference Second Item Title"), QString::fromLatin1(pageTag),
        QString::fromLatin1(pageTag), styleFile);
    m_history = new QAReporterPrefHistory(tr("Run History"), QString::fromLatin1(pageTag),
                                          QString::fromLatin1(pageTag));
    m_general->setChild(m_styles);
    m_styles->setNext(m_history);
}

QAReporterPref::~QAReporterPref()
{
    delete m_general;
    delete m_styles;
    delete m_history;
}

QARes* QAReporterPref::produce(const char* tag)
{
    auto* group = new QAResGroup(tag ? tag : "REPORTER");
    const QColor background = m_general->background();
    QARes* last =
        new QAResRGB("background", background.red(), background.green(), background.blue());
    group->setChild(last);
    auto append = [&last](QARes* resource) {
        last->setNext(resource);
        last = resource;
    };
    append(new QAResBoolean("auto_raise", m_general->autoRaise()));
    append(new QAResInt("auto_depth", m_general->depth()));

    auto* styles = new QAResGroup("STYLES");
    QARes* lastStyle = nullptr;
    for (const DStyle* style : m_styles->styles()) {
        QARes* saved = DStyleSerialize::styleToResources("style", style);
        if (lastStyle)
            lastStyle->setNext(saved);
        else
            styles->setChild(saved);
        lastStyle = saved;
    }
    append(styles);
    auto* history = new QAResGroup("HISTORY");
    QARes* record = new QAResBoolean("record", m_history->recordsRuns());
    history->setChild(record);
    QARes* database = new QAResString("database", m_history->database());
    record->setNext(database);
    database->setNext(new QAResInt("last_runs", m_history->lastRuns()));
    append(history);
    return group;
}

void QAReporterPref::loadResources(QARes* group)
{
    const QAResGroup* reporter = group ? group->toResGroup() : nullptr;
    if (!reporter || !reporter->isTag("REPORTER"))
        return;
    for (QARes* res = reporter->child(); res; res = res->next()) {
        if (res->isTag("background")) {
            if (const QAResRGB* rgb = res->toResRGB())
                m_general->setBackground(rgb->color());
        } else if (res->isTag("auto_raise")) {
            if (const QAResBoolean* flag = res->toResBoolean())
                m_general->setAutoRaise(flag->value());
        } else if (res->isTag("auto_depth")) {
            if (const QAResInt* depth = res->toResInt())
                m_general->setDepth(depth->value());
        }
    }
    for (QARes* res = reporter->child(); res; res = res->next()) {
        if (res->isTag("STYLES") && res->toResGroup())
            loadStyles(res);
        else if (res->isTag("HISTORY") && res->toResGroup())
            loadHistory(res);
    }
}

void QAReporterPref::loadHistory(QARes* historyGroup)
{
    for (QARes* res = historyGroup->toResGroup()->child(); res; res = res->next()) {
        if (const QAResBoolean* flag = res->isTag("record") ? res->toResBoolean() : nullptr)
            m_history->setRecordsRuns(flag->value());
        else if (const QAResString* url = res->isTag("database") ? res->toResString() : nullptr)
            m_history->setDatabase(url->value());
        else if (const QAResInt* runs = res->isTag("last_runs") ? res->toResInt() : nullptr)
            m_history->setLastRuns(runs->value());
    }
}

void QAReporterPref::loadStyles(QARes* stylesGroup)
{
    const QAResGroup* saved = stylesGroup->toResGroup();
    for (DStyle* style : m_styles->styles()) {
        for (QARes* res = saved->child(); res; res = res->next()) {
            const QAResGroup* candidate = res->toResGroup();
            const QAResString* name = candidate ? savedStyleName(candidate) : nullptr;
            if (name && name->value() == style->name()) {
                DStyleSerialize::styleFromResources(res, style);
                break;
            }
        }
    }
}

void QAReporterPref::prefDialogAccepted()
{
    emit preferencesChanged();
}

void QAReporterPref::prefDialogRejected() {}
