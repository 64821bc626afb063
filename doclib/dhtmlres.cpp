#include "dhtmlres.h"

#include <QFile>
#include <QTextStream>

DHTMLRes::DHTMLRes()
    : m_fileExtension(QStringLiteral(".html")), m_styleSheetName(QStringLiteral("report.css")),
      m_encoding(QStringLiteral("UTF-8"))
{
}

bool DHTMLRes::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_errorString = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    m_errorString.clear();
    QTextStream in(&file);
    QString line;
    // Lines are read one at a time: a huge or binary file costs no more
    // than its longest line.
    while (in.readLineInto(&line)) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype equal = trimmed.indexOf(QLatin1Char('='));
        if (equal <= 0)
            continue;
        const QString key = trimmed.left(equal).trimmed();
        const QString value = trimmed.mid(equal + 1).trimmed();
        if (key == QLatin1String("fileExtension") && !value.isEmpty())
            m_fileExtension = value.startsWith(QLatin1Char('.')) ? value : QLatin1Char('.') + value;
        else if (key == QLatin1String("styleSheet") && !value.isEmpty())
            m_styleSheetName = value;
        else if (key == QLatin1String("pageHeader"))
            m_pageHeader = value;
        else if (key == QLatin1String("pageFooter"))
            m_pageFooter = value;
        else if (key == QLatin1String("encoding") && !value.isEmpty())
            m_encoding = value;
    }
    return true;
}
