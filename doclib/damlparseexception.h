#ifndef DAMLPARSEEXCEPTION_H
#define DAMLPARSEEXCEPTION_H

#include <QString>

// What went wrong while reading markup, and where.
class DAmlParseException
{
public:
    DAmlParseException(const QString& message = QString(), qint64 line = 0, qint64 column = 0);

    const QString& message() const { return m_message; }
    qint64 lineNumber() const { return m_line; }
    qint64 columnNumber() const { return m_column; }
    // "line L, column C: message".
    QString text() const;

private:
    QString m_message;
    qint64 m_line;
    qint64 m_column;
};

#endif
