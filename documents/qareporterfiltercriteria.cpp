#include "qareporterfiltercriteria.h"

#include "qareporternode.h"

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
    m_fields &= ~field;
}

void QAReporterFilterCriteria::removeTypePattern(const QRegularExpression& pattern)
{
    const qsizetype index = m_types.indexOf(pattern);
    if (index >= 0)
        m_types.removeAt(index);
    if (m_types.isEmpty())
        m_fields &= ~TypeField;
}

bool QAReporterFilterCriteria::holds(const QRegularExpression& pattern, const QString& text)
{
    return pattern
        .match(text, 0, QRegularExpression::NormalMatch,
               QRegularExpression::AnchorAtOffsetMatchOption)
        .hasMatch();
}

int QAReporterFilterCriteria::match(const QAReporterNode* node) const
{
    if (!node)
        return 0;
    int passed = 0;
    if (!(m_fields & NameField) || node->name.isNull() || holds(m_name, node->name))
        passed |= NameField;
    if (!(m_fields & TypeField) || node->type.isNull())
        passed |= TypeField;
    else {
        bool excluded = false;
        for (const QRegularExpression& pattern : m_types) {
            if (holds(pattern, node->type)) {
                excluded = true;
                break;
            }
        }
        if (!excluded)
            passed |= TypeField;
    }
    if (!(m_fields & StateField) || node->state.isNull() || holds(m_state, node->state))
        passed |= StateField;
    return passed;
}
