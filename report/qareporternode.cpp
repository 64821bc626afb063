#include "qareporternode.h"

QAReporterNode::~QAReporterNode() = default;
