#include "qaresproducer.h"

QAResProducer::~QAResProducer() = default;
