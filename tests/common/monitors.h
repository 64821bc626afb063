#ifndef MONITORS_H
#define MONITORS_H

#include "qailogmonitor.h"
#include "qaiprogressmonitor.h"

#include <QStringList>

#include <functional>

// A log monitor that keeps what it is told; onError, when set, runs at
// each error.
struct RecordingLog : QAILogMonitor
{
    void log(const QString& text) override { messages << text; }
    void error(const QString& text) override
    {
        errors << text;
        if (onError)
            onError(text);
    }
    int errorCount() const override { return int(errors.size()); }
    void resetError() override { errors.clear(); }
    QStringList messages;
    QStringList errors;
    std::function<void(const QString&)> onError;
};

// A progress monitor that counts its steps; it cancels at the first step
// when asked to.
struct RecordingProgress : QAIProgressMonitor
{
    void cancel() override { canceled = true; }
    void setProgress(int value, int total) override
    {
        steps = total;
        setProgress(value);
    }
    void setProgress(int value) override
    {
        ++calls;
        current = value;
        canceled |= cancelAtFirst;
    }
    bool wasCanceled() const override { return canceled; }
    int totalSteps() const override { return steps; }
    int progress() const override { return current; }
    void setLabelText(const QString&) override {}
    bool cancelAtFirst = false;
    bool canceled = false;
    int calls = 0;
    int steps = 0;
    int current = 0;
};

#endif
