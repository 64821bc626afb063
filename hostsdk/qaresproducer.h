#ifndef QARESPRODUCER_H
#define QARESPRODUCER_H

class QARes;

// Something whose settings the host saves: when it saves, the host asks
// each registered producer for its resources.
class QAResProducer
{
public:
    virtual ~QAResProducer();
    // A new resource tree tagged `tag` (or with the producer's own tag when
    // `tag` is null); the caller owns it.
    virtual QARes* produce(const char* tag) = 0;
};

#endif
