#include "qareporternode.h"

#include <iterator>

QAReporterNode::~QAReporterNode() = default;

QString QAReporterNode::statusWord() const
{
    if (state == QLatin1String("ok"))
        return QStringLiteral("ok");
    if (state == QLatin1String("ko"))
        return QStringLiteral("KO");
    if (state == QLatin1String("ne"))
        return QStringLiteral("ne");
    return QStringLiteral("--");
}

QString QAReporterNode::idOf(int number)
{
    char16_t digits[12];
    char16_t* const end = std::end(digits);
    char16_t* first = end;
    // Unsigned, so that the lowest int has a magnitude too.
    unsigned int magnitude = number < 0 ? 0u - unsigned(number) : unsigned(number);
    do {
        *--first = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (number < 0)
        *--first = u'-';
    return QString(reinterpret_cast<const QChar*>(first), end - first);
}
