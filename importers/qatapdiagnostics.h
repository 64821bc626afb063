#ifndef QATAPDIAGNOSTICS_H
#define QATAPDIAGNOSTICS_H

#include <QString>

struct QAResultCase;

// Takes what a TAP test point's YAML diagnostic block says into the case:
// the whole block becomes its details, and a plain scan of "key: value"
// lines (no YAML library; nested keys are read like top-level ones) fills
// the message (message, or error), the severity as failure kind, the
// source (file and line, or a location in at, location or stack) and the
// time (duration_ms).
class QATapDiagnostics
{
public:
    static void apply(const QString& block, QAResultCase& testCase);
};

#endif
