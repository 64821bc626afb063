#ifndef QATESTCOUNT_H
#define QATESTCOUNT_H

#include <QStringView>
#include <QtGlobal>

#include <limits>

// Test counts as reports give them: 64-bit, never negative, and summed with
// saturation, so that a total never wraps round and a report with failures
// can never add up to one without.
namespace QATestCount {

constexpr qint64 Max = std::numeric_limits<qint64>::max();

// a + b for counts, stopping at Max.
inline qint64 add(qint64 a, qint64 b)
{
    qint64 sum = 0;
    return qAddOverflow(a, b, &sum) ? Max : sum;
}

// The count a "sum" attribute gives: -1 when the text is not a decimal
// count (negative, a fraction, letters); a count past Max is Max. White
// space around it and a plus sign are allowed, as toInt() allows them.
inline qint64 parse(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(u'+'))
        text = text.mid(1);
    if (text.isEmpty())
        return -1;
    qint64 count = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        if (count != Max && (qMulOverflow(count, qint64(10), &count) ||
                             qAddOverflow(count, qint64(c.unicode() - u'0'), &count)))
            count = Max;
    }
    return count;
}

} // namespace QATestCount

#endif
