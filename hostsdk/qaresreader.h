#ifndef QARESREADER_H
#define QARESREADER_H

#include <QString>

class QARes;
class QAResGroup;
class QByteArray;
class QIODevice;
class QXmlStreamReader;

// Reads the resource files that QAResWriter writes. Elements it does not
// know and resources whose values do not parse are skipped. A truncated or
// malformed file yields the resources read before the fault, with
// hasError() set and a message naming the line; the fault is also logged
// as a warning on the "xrd.resources" category, with the file's name. A
// file that does not exist is an error but no warning: there is nothing to
// lose yet.
class QAResReader
{
public:
    // The first resource of the chain read, owned by the caller; null when
    // nothing could be read.
    QARes* read(QIODevice* device);
    QARes* read(const QByteArray& data);
    QARes* readFile(const QString& path);

    bool hasError() const { return !m_errorString.isEmpty(); }
    QString errorString() const { return m_errorString; }
    // The version the file declares; 0 when it declares none.
    int version() const { return m_version; }

private:
    QARes* readDevice(QIODevice* device);
    QARes* readAll(QXmlStreamReader& xml);
    QARes* readLeaf(QXmlStreamReader& xml);
    void setError(const QXmlStreamReader& xml, const QString& message);

    QString m_errorString;
    QString m_sourceName; // the file read, for the log
    int m_version = 0;
};

#endif
