#include "qareporternode.h"

#include <iterator>

QAReporterNode::QAReporterNode(const QAReporterNode& other)
    : startItem(other.startItem), endItem(other.endItem), name(other.name), type(other.type),
      state(other.state), seconds(other.seconds),
      m_rare(other.m_rare ? std::make_unique<Rare>(*other.m_rare) : nullptr),
      m_number(other.m_number)
{
}

QAReporterNode& QAReporterNode::operator=(const QAReporterNode& other)
{
    if (this != &other)
        *this = QAReporterNode(other);
    return *this;
}

QAReporterNode::~QAReporterNode() = default;

const QString& QAReporterNode::noText()
{
    static const QString none;
    return none;
}

QAReporterNode::Rare& QAReporterNode::rare()
{
    if (!m_rare)
        m_rare = std::make_unique<Rare>();
    return *m_rare;
}

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

QString QAReporterNode::id() const
{
    if (m_number > 0)
        return idOf(m_number);
    return m_rare ? m_rare->id : QString();
}

void QAReporterNode::setNumber(int number)
{
    m_number = number;
    if (m_rare)
        m_rare->id = QString();
}

void QAReporterNode::setId(const QString& id)
{
    m_number = 0;
    if (m_rare || !id.isNull())
        rare().id = id;
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

// Large reports hold hundreds of thousands of nodes, and the allocator
// rounds a node up to its next size class: keep the node within one.
static_assert(sizeof(void*) != 8 || sizeof(QAReporterNode) <= 112);
