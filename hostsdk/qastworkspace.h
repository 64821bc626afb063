#ifndef QASTWORKSPACE_H
#define QASTWORKSPACE_H

#include <QString>

// A workspace of the host: the project a test run belongs to.
class QAStWorkspace
{
public:
    explicit QAStWorkspace(const QString& name = QString()) : m_name(name) {}
    virtual ~QAStWorkspace() = default;

    QString name() const { return m_name; }

private:
    QString m_name;
};

#endif
