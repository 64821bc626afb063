#ifndef SCOPEDPREFERENCES_H
#define SCOPEDPREFERENCES_H

#include "qareporterpref.h"

#include <memory>

// Installs fresh process-wide preferences (or none) for the life of the
// object and puts back the ones found before, so that tests do not depend on
// each other through the shared preferences.
class ScopedPreferences
{
public:
    enum Start { Fresh, None };

    explicit ScopedPreferences(QAStudioInterface* studio = nullptr, Start start = Fresh)
        : m_previous(installReporterPreferences(
              start == Fresh ? std::make_unique<QAReporterPref>(studio) : nullptr))
    {
    }
    ~ScopedPreferences() { installReporterPreferences(std::move(m_previous)); }
    ScopedPreferences(const ScopedPreferences&) = delete;
    ScopedPreferences& operator=(const ScopedPreferences&) = delete;

    QAReporterPref* operator->() const { return reporterPreferences(); }
    QAReporterPref* get() const { return reporterPreferences(); }

private:
    std::unique_ptr<QAReporterPref> m_previous;
};

#endif
