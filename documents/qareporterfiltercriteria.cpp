#include "qareporterfiltercriteria.h"

#include "qareporternode.h"

#include <algorithm>

QAReporterFilterCriteria::QAReporterFilterCriteria() = default;

void QAReporterFilterCriteria::addPattern(Field field, const QRegularExpression& pattern)
{
    QRegularExpression compiled = pattern;
    compiled.optimize(); // matched once per node of every filtered report
    switch (field) {
    case NameField:
        m_name = compiled;
        break;
    case StateField:
        m_state = compiled;
        break;
    case TypeField:
        m_types.append(compiled);
        break;
    }
    m_fields |= field;
}

void QAReporterFilterCriteria::removePattern(Field field)
{
    switch (field) {
    case NameField:
        m_name = QRegularExpression();
        break;
    case StateField:
        m_state = QRegularExpression();
        break;
    case TypeField:
        m_types.clear();
        break;
    }
    m_fields.setFlag(field, false);
}

void QAReporterFilterCriteria::removeTypePattern(const QRegularExpression& pattern)
{
    const qsizetype index = m_types.indexOf(pattern);
    if (index >= 0)
        m_types.removeAt(index);
    if (m_types.isEmpty())
        m_fields.setFlag(TypeField, false);
}

bool QAReporterFilterCriteria::holds(const QRegularExpression& pattern, const QString& text)
{
    return pattern
        .match(text, 0, QRegularExpression::NormalMatch,
               QRegularExpression::AnchorAtOffsetMatchOption)
        .hasMatch();
}

QAReporterFilterCriteria::Fields QAReporterFilterCriteria::match(const QAReporterNode* node) const
{
    Fields passed;
    if (!node)
        return passed;
    passed.setFlag(NameField, !m_fields.testFlag(NameField) || node->name.isNull() ||
                                  holds(m_name, node->name));
    passed.setFlag(TypeField, !m_fields.testFlag(TypeField) || node->type.isNull() ||
                                  std::none_of(m_types.cbegin(), m_types.cend(),
                                               [node](const QRegularExpression& pattern) {
                                                   return holds(pattern, node->type);
                                               }));
    passed.setFlag(StateField, !m_fields.testFlag(StateField) || node->state.isNull() ||
                                   holds(m_state, node->state));
    return passed;
}
