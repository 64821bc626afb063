#include "qastreportsession.h"

QAStReportSession::~QAStReportSession() = default;
