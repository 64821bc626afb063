#ifndef BENCHSTYLES_H
#define BENCHSTYLES_H

#include <QList>
#include <QString>

class DStyle;

// The default style list of the viewer, read from the style file of the
// source tree the way the viewer reads it (AML reader, local styles on).
// Owns the styles.
class BenchStyles
{
public:
    BenchStyles();
    ~BenchStyles();
    BenchStyles(const BenchStyles&) = delete;
    BenchStyles& operator=(const BenchStyles&) = delete;

    // Empty when the style file is missing or unreadable; see error().
    const QList<DStyle*>& styles() const { return m_styles; }
    QString path() const { return m_path; }
    QString error() const { return m_error; }

private:
    QList<DStyle*> m_styles;
    QString m_path;
    QString m_error;
};

#endif
