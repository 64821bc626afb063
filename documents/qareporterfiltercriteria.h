#ifndef QAREPORTERFILTERCRITERIA_H
#define QAREPORTERFILTERCRITERIA_H

#include <QList>
#include <QRegularExpression>

class QAReporterNode;

// Which report nodes a filtered report keeps: a name pattern and a state
// pattern that a node must match, and type patterns that exclude it. A
// pattern matches a text when it matches at the text's start (it need not
// cover the whole text): "ko" matches "ko" and "kodak", not "ok" or "xko".
class QAReporterFilterCriteria
{
public:
    enum Field { NameField = 1, TypeField = 2, StateField = 4 };
    Q_DECLARE_FLAGS(Fields, Field)
    // match() returns this when a node passes every field.
    static constexpr Fields AllFields{NameField | TypeField | StateField};

    QAReporterFilterCriteria();

    // Name and state: replaces the field's pattern. Type: appends a pattern.
    void addPattern(Field field, const QRegularExpression& pattern);
    // Drops the field's pattern (for types: every type pattern).
    void removePattern(Field field);
    // Drops the first type pattern equal to the given one.
    void removeTypePattern(const QRegularExpression& pattern);

    // The fields the node passes; AllFields means it passes.
    Fields match(const QAReporterNode* node) const;

    // The fields that have a pattern.
    Fields fields() const { return m_fields; }
    const QRegularExpression& namePattern() const { return m_name; }
    const QRegularExpression& statePattern() const { return m_state; }
    const QList<QRegularExpression>& typePatterns() const { return m_types; }

    // Whether the pattern matches the text from its first character on.
    static bool holds(const QRegularExpression& pattern, const QString& text);

private:
    QRegularExpression m_name;
    QRegularExpression m_state;
    QList<QRegularExpression> m_types;
    Fields m_fields;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(QAReporterFilterCriteria::Fields)

#endif
