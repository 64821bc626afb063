#include "qastxmlrodhandler.h"

#include "qareporterdatatree.h"
#include "qareporternode.h"
#include "qastudiointerface.h"
#include "qatestcount.h"

#include <QCoreApplication>

int QAstXmlRodHandler::s_step = 0;
int QAstXmlRodHandler::s_totalSteps = 0;

namespace {

// The names are measured once, not at each element as literals would be.
constexpr QStringView RootElement = u"XROD";
constexpr QStringView NodeElement = u"XROD:NODE";

namespace Attribute {
constexpr QStringView Name = u"name";
constexpr QStringView Type = u"type";
constexpr QStringView State = u"state";
constexpr QStringView Icone = u"icone";
constexpr QStringView Sum = u"sum";
constexpr QStringView Base = u"base";
} // namespace Attribute

// The attributes of one XROD:NODE element, read in a single pass. A view is
// null when its attribute is absent.
struct NodeAttributes
{
    explicit NodeAttributes(const DXmlAttributes& attributes)
    {
        for (int index = 0; index < attributes.count(); ++index) {
            const QStringView key = attributes.name(index);
            const QStringView value = attributes.value(index);
            if (key == Attribute::Name)
                name = value;
            else if (key == Attribute::Type)
                type = value;
            else if (key == Attribute::State)
                state = value;
            else if (key == Attribute::Icone)
                icon = value;
            else if (key == Attribute::Sum)
                sum = value;
            else if (key == Attribute::Base)
                base = value;
        }
    }

    QStringView name, type, state, icon, sum, base;
};

QString reporterText(const char* text)
{
    return QCoreApplication::translate("Reporter", text);
}

} // namespace

QAstXmlRodHandler::QAstXmlRodHandler() = default;

QAstXmlRodHandler::~QAstXmlRodHandler()
{
    if (!m_treeShared)
        delete m_tree;
}

std::unique_ptr<QAReporterDataTree> QAstXmlRodHandler::takeTree()
{
    std::unique_ptr<QAReporterDataTree> tree(m_treeShared ? nullptr : m_tree);
    m_tree = nullptr;
    m_treeShared = false;
    return tree;
}

QAReporterDataTree* QAstXmlRodHandler::shareTree()
{
    m_treeShared = m_tree != nullptr;
    return m_tree;
}

bool QAstXmlRodHandler::startDocument()
{
    // A tree from an earlier parse that nobody took goes now.
    if (!m_treeShared)
        delete m_tree;
    m_tree = nullptr;
    m_treeShared = false;
    m_rootOpen = false;
    m_rootSeen = false;
    m_pending.clear();
    m_types.clear();
    m_typePool.clear();
    m_valuePool.clear();
    m_recentTypes.clear();
    m_recentValues.clear();
    m_namePool.clear();
    m_okTotal = 0;
    m_koTotal = 0;
    m_neTotal = -1;
    return DAmlHandler::startDocument();
}

bool QAstXmlRodHandler::startElement(const QString& namespaceURI, const QString& localName,
                                     QStringView qName, const DXmlAttributes& attributes)
{
    reportProgress();
    if (!m_rootSeen) {
        m_rootSeen = true;
        if (qName != RootElement)
            return refuseRoot(qName);
    }
    if (qName == NodeElement)
        return startNode(attributes);
    if (qName == RootElement)
        return startRoot();
    if (!DAmlHandler::startElement(namespaceURI, localName, qName, attributes))
        return false;
    if (DItem* item = currentItem()) {
        while (!m_pending.isEmpty())
            m_pending.pop()->startItem = item;
    }
    return true;
}

bool QAstXmlRodHandler::endElement(const QString& namespaceURI, const QString& localName,
                                   QStringView qName)
{
    if (qName == NodeElement)
        return endNode();
    if (qName == RootElement) {
        m_rootOpen = false;
        if (!m_pending.isEmpty()) {
            setErrorString(
                reporterText(QT_TRANSLATE_NOOP("Reporter", "nested XMLROD init element.\n")));
            return false;
        }
        return true;
    }
    return DAmlHandler::endElement(namespaceURI, localName, qName);
}

void QAstXmlRodHandler::reportProgress()
{
    if (!m_progress || !m_file)
        return;
    if (s_step < s_totalSteps)
        m_progress->progressStep(s_step++);
    else
        m_progress->progressStep(s_totalSteps - 1);
}

bool QAstXmlRodHandler::refuseRoot(QStringView qName)
{
    const QString root = QLatin1Char('<') + qName.toString() + QLatin1Char('>');
    if (m_sourceName.isEmpty())
        setErrorString(reporterText(QT_TRANSLATE_NOOP(
                                        "Reporter", "This is not a report: its root element is %1, "
                                                    "the root element of a report is <XROD>."))
                           .arg(root));
    else
        setErrorString(reporterText(QT_TRANSLATE_NOOP("Reporter",
                                                      "%1 is not a report: its root element is %2, "
                                                      "the root element of a report is <XROD>."))
                           .arg(m_sourceName, root));
    return false;
}

bool QAstXmlRodHandler::startRoot()
{
    if (m_tree)
        return fail(reporterText(
            QT_TRANSLATE_NOOP("Reporter", "Xml/ROD, more than one XROD root element.")));
    auto* root = new QAReporterNode;
    m_tree = new QAReporterDataTree(root);
    m_pending.push(root);
    m_rootOpen = true;
    return true;
}

bool QAstXmlRodHandler::startNode(const DXmlAttributes& xmlAttributes)
{
    if (!m_rootOpen)
        return fail(reporterText(
            QT_TRANSLATE_NOOP("Reporter", "Xml/ROD, NODE element outside the XROD root element.")));
    // The tree owns the node from here on, even when its attributes fail.
    auto* node = new QAReporterNode;
    m_tree->appendChild(node);
    m_tree->toLastChild();

    const NodeAttributes attributes(xmlAttributes);
    if (attributes.name.isNull()) {
        setErrorString(
            reporterText(QT_TRANSLATE_NOOP("Reporter", "Xml/ROD, unvalable name attribute.\n")));
        return false;
    }
    if (attributes.type.isNull()) {
        setErrorString(
            reporterText(QT_TRANSLATE_NOOP("Reporter", "Xml/ROD, unvalable type attribute.\n")));
        return false;
    }
    node->name = m_namePool.text(attributes.name);
    const qsizetype knownTypes = m_typePool.size();
    node->type = shared(m_typePool, m_recentTypes, attributes.type);
    if (m_typePool.size() != knownTypes)
        m_types.append(node->type);
    if (!attributes.state.isNull())
        node->state = shared(m_valuePool, m_recentValues, attributes.state);
    if (!attributes.icon.isNull())
        node->setIcon(shared(m_valuePool, m_recentValues, attributes.icon));
    node->setNumber(++m_nodeCount);
    if (!attributes.sum.isNull())
        addToTotals(attributes.state, attributes.sum);
    if (!attributes.base.isNull())
        node->setBase(shared(m_valuePool, m_recentValues, attributes.base));
    m_pending.push(node);
    return true;
}

void QAstXmlRodHandler::addToTotals(QStringView state, QStringView sum)
{
    const qint64 count = QATestCount::parse(sum);
    if (count < 0)
        return;
    if (state == u"ok") {
        m_okTotal = QATestCount::add(m_okTotal, count);
    } else if (state == u"ko") {
        m_koTotal = QATestCount::add(m_koTotal, count);
    } else if (state == u"NE") {
        m_neTotal = QATestCount::add(qMax<qint64>(m_neTotal, 0), count);
    }
}

bool QAstXmlRodHandler::endNode()
{
    if (!m_tree)
        return false;
    QAReporterNode* node = m_tree->iterator()->current()->data;
    m_tree->toParent();
    if (m_pending.isEmpty()) {
        node->endItem = lastItem();
        return true;
    }
    if (m_pending.pop() == node)
        return true;
    setErrorString(reporterText(QT_TRANSLATE_NOOP("Reporter", "unvalable stack elements.\n")));
    return false;
}

void QAstXmlRodHandler::endOpenNodes()
{
    if (!m_tree || !m_tree->iterator())
        return;
    m_pending.clear();
    QTreeIterator<QAReporterNode>* cursor = m_tree->iterator();
    do {
        QAReporterNode* node = cursor->current() ? cursor->current()->data : nullptr;
        if (node && !node->endItem)
            node->endItem = lastItem();
    } while (cursor->toParent());
}

QString QAstXmlRodHandler::shared(QHash<QStringView, QString>& pool, RecentValues& recent,
                                  QStringView value)
{
    if (const QString* known = recent.find(value))
        return *known;
    const auto found = pool.constFind(value);
    if (found != pool.constEnd()) {
        recent.remember(found.value(), found.value());
        return found.value();
    }
    const QString text = value.toString();
    // The key views the data of the stored value, which the pool keeps alive.
    pool.insert(QStringView(text), text);
    recent.remember(text, text);
    return text;
}
