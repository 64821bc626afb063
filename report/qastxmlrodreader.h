#ifndef QASTXMLRODREADER_H
#define QASTXMLRODREADER_H

#include "damlreader.h"

#include <QStringList>

#include <memory>

class QFile;
class QIODevice;
class DDocument;
class QAReporterData;
class QAReporterDataTree;
class QAstXmlRodHandler;
class QAStudioInterface;

// Reads one report index file in a single streaming pass into a tree of
// test nodes and a report document, with its node types and test totals.
// The reader owns its handler; the results outlive it once taken.
class QAstXmlRodReader : public DAmlReader
{
public:
    QAstXmlRodReader();
    ~QAstXmlRodReader() override;

    using DAmlReader::parse;
    // Reads source, the opened file, reporting progress to the host when
    // both file and progress are given. True when the whole file was read.
    bool parse(QIODevice* source, QFile* file, QAStudioInterface* progress);
    // Opens and reads the file at path; a file that cannot be opened fails
    // with a message naming it.
    bool parseFile(const QString& path, QAStudioInterface* progress = nullptr);

    // The handler the reader made; null once another handler was set.
    QAstXmlRodHandler* handler() const;
    // Hands the tree of the last parse over to the caller; a second call
    // returns null.
    std::unique_ptr<QAReporterDataTree> takeTree();
    // Hands the report document of the last parse over to the caller.
    std::unique_ptr<DDocument> takeDocument();
    // Hands the tree, document, node types and totals of the last parse
    // over as one record of the file.
    std::unique_ptr<QAReporterData> takeRecord(const QString& fileName);
    QStringList types() const;
    qint64 okTotal() const;
    qint64 koTotal() const;
    qint64 neTotal() const;
    QString errorString() const;

private:
    QAstXmlRodHandler* m_handler;
};

#endif
