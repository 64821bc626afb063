#include "damlparseexception.h"

#include <QCoreApplication>

DAmlParseException::DAmlParseException(const QString& message, qint64 line, qint64 column)
    : m_message(message), m_line(line), m_column(column)
{
}

QString DAmlParseException::text() const
{
    return QCoreApplication::translate("DAmlReader", "line %1, column %2: %3")
        .arg(m_line)
        .arg(m_column)
        .arg(m_message);
}
