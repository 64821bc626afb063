#include "ditems.h"
#include "qareporterdatatree.h"
#include "qastxmlrodhandler.h"
#include "qastxmlrodreader.h"
#include "recordingstudio.h"

#include <QBuffer>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <limits>
#include <memory>

namespace {

// The result of reading one report from memory.
struct Report
{
    bool ok = false;
    QString error;
    std::unique_ptr<QAReporterDataTree> tree;
    std::unique_ptr<DDocument> document;
    QStringList types;
    qint64 okTotal = 0;
    qint64 koTotal = 0;
    qint64 neTotal = 0;
};

Report read(const QByteArray& xml, QAStudioInterface* progress = nullptr, QFile* file = nullptr)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    QAstXmlRodReader reader;
    Report report;
    report.ok = reader.parse(&buffer, file, progress);
    report.error = reader.errorString();
    report.tree = reader.takeTree();
    report.document = reader.takeDocument();
    report.types = reader.types();
    report.okTotal = reader.okTotal();
    report.koTotal = reader.koTotal();
    report.neTotal = reader.neTotal();
    return report;
}

// The nodes below the root, in document order.
QList<QAReporterNode*> nodesOf(QAReporterDataTree* tree)
{
    QList<QAReporterNode*> nodes;
    tree->iterator()->toRoot();
    while (QAReporterNode* node = tree->next(PreOrder))
        nodes.append(node);
    return nodes;
}

QAReporterNode* rootOf(QAReporterDataTree* tree)
{
    return tree->root()->data;
}

QByteArray nested(int depth)
{
    return "<XROD>" + QByteArray("<SECTION>").repeated(depth) +
           QByteArray("</SECTION>").repeated(depth) + "</XROD>";
}

// Bytes read as from a pipe: in pieces, with no position to go back to.
class Pipe : public QIODevice
{
public:
    explicit Pipe(const QByteArray& bytes) : m_bytes(bytes) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return QIODevice::bytesAvailable() + m_bytes.size() - m_read;
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 count = qMin(maxSize, m_bytes.size() - m_read);
        memcpy(data, m_bytes.constData() + m_read, size_t(count));
        m_read += count;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const QByteArray m_bytes;
    qint64 m_read = 0;
};

} // namespace

class TestReader : public QObject
{
    Q_OBJECT

private slots:
    void bindsRootAndNodeToTheFirstItem();
    void bindsNodesAndKeepsUnboundOnesNull();
    void sumsCountByState_data();
    void sumsCountByState();
    void collectsTypesOnce();
    void refusedWithAReason_data();
    void refusedWithAReason();
    void unreadablePathsFailNamingTheFile_data();
    void unreadablePathsFailNamingTheFile();
    void fileDeletedWhileOpenIsStillRead();
    void longTextRunIsReadWhole();
    void progressIsReported();
    void smallFileReportsMinusOne();
    void ownership();
    void accessorsWithoutHandler();
    void examplesAreReadable();
};

void TestReader::bindsRootAndNodeToTheFirstItem()
{
    const Report r = read("<XROD><XROD:NODE name=\"t1\" type=\"test\" state=\"ko\" sum=\"3\">"
                          "<PARAGRAPH>x</PARAGRAPH></XROD:NODE></XROD>");
    QVERIFY2(r.ok, qPrintable(r.error));
    const QList<QAReporterNode*> nodes = nodesOf(r.tree.get());
    QCOMPARE(nodes.size(), 1);
    QAReporterNode* node = nodes.first();
    QCOMPARE(QStringList({node->id, node->name, node->state}), QStringList({"1", "t1", "ko"}));
    QVERIFY(node->icon.isNull());
    QVERIFY(node->base.isNull());
    QCOMPARE(QList<qint64>({r.okTotal, r.koTotal, r.neTotal}), QList<qint64>({0, 3, -1}));
    QCOMPARE(r.types, QStringList{"test"});

    QVERIFY(node->startItem);
    QCOMPARE(node->startItem->kind(), DItem::Paragraph);
    QCOMPARE(rootOf(r.tree.get())->startItem, node->startItem);
    QVERIFY(rootOf(r.tree.get())->id.isNull());
    QVERIFY(rootOf(r.tree.get())->name.isNull());
    // The implicit text made inside the paragraph is the last item.
    QVERIFY(node->endItem);
    QCOMPARE(node->endItem->kind(), DItem::Text);
}

void TestReader::bindsNodesAndKeepsUnboundOnesNull()
{
    const Report r =
        read("<XROD><DOCUMENT><TITLE>t</TITLE>"
             "<XROD:NODE name=\"a\" type=\"suite\" icone=\"a.png\" base=\"/src/\">"
             "<XROD:NODE name=\"empty\" type=\"test\"/>"
             "<XROD:NODE name=\"b\" type=\"test\"><SECTION name=\"b\"/>tail</XROD:NODE>"
             "</XROD:NODE></DOCUMENT></XROD>");
    QVERIFY2(r.ok, qPrintable(r.error));
    const QList<QAReporterNode*> nodes = nodesOf(r.tree.get());
    QCOMPARE(nodes.size(), 3);
    QAReporterNode* a = nodes.at(0);
    QAReporterNode* empty = nodes.at(1);
    QAReporterNode* b = nodes.at(2);
    QCOMPARE(a->id + empty->id + b->id, QString("123"));
    QCOMPARE(a->icon, QString("a.png"));
    QCOMPARE(a->base, QString("/src/"));
    QCOMPARE(rootOf(r.tree.get())->startItem, r.document.get());
    QVERIFY(!empty->startItem);
    QVERIFY(!empty->endItem);
    // a waited past its empty child and was bound by b's section.
    QVERIFY(b->startItem);
    QCOMPARE(b->startItem->name(), QString("b"));
    QCOMPARE(a->startItem, b->startItem);
    QCOMPARE(b->endItem->kind(), DItem::Text);
    QCOMPARE(a->endItem, b->endItem);
    // The deepest nesting taken: the file's root is one level.
    const Report deepest = read(nested(1999));
    QVERIFY2(deepest.ok, qPrintable(deepest.error));
}

void TestReader::sumsCountByState_data()
{
    QTest::addColumn<QByteArray>("nodes");
    QTest::addColumn<qint64>("ok");
    QTest::addColumn<qint64>("ko");
    QTest::addColumn<qint64>("ne");
    auto node = [](const char* state, const char* sum) {
        return QByteArray("<XROD:NODE name=\"n\" type=\"t\" state=\"") + state + "\" sum=\"" + sum +
               "\"><TAG/></XROD:NODE>";
    };
    QTest::newRow("by state") << node("ok", "4") + node("ko", "2") + node("ok", "1") << 5LL << 2LL
                              << -1LL;
    QTest::newRow("not a number") << node("ok", "3x") + node("ko", "") + node("ko", "1.5") << 0LL
                                  << 0LL << -1LL;
    QTest::newRow("lower-case ne") << node("ne", "4") << 0LL << 0LL << -1LL;
    QTest::newRow("other state") << node("KO", "4") + node("", "2") << 0LL << 0LL << -1LL;
    QTest::newRow("NE zero") << node("NE", "0") << 0LL << 0LL << 0LL;
    QTest::newRow("NE summed") << node("NE", "2") + node("NE", "3") << 0LL << 0LL << 5LL;
    QTest::newRow("no state") << QByteArray("<XROD:NODE name=\"n\" type=\"t\" sum=\"7\"><TAG/>"
                                            "</XROD:NODE>")
                              << 0LL << 0LL << -1LL;
    // Totals past the range of int must neither wrap nor turn a failure
    // into a pass.
    QTest::newRow("past int") << node("ko", "2147483647") + node("ko", "1") +
                                     node("ok", "2147483647") + node("ok", "2147483647") +
                                     node("NE", "2147483647") + node("NE", "2")
                              << 4294967294LL << 2147483648LL << 2147483649LL;
    QTest::newRow("count past int64 saturates")
        << node("ko", "99999999999999999999") + node("ko", "9223372036854775807") << 0LL
        << std::numeric_limits<qint64>::max() << -1LL;
    QTest::newRow("negative counts ignored")
        << node("ko", "-5") + node("ko", "3") + node("ok", "-2") + node("NE", "-1") << 0LL << 3LL
        << -1LL;
}

void TestReader::sumsCountByState()
{
    QFETCH(QByteArray, nodes);
    const Report r = read("<XROD>" + nodes + "</XROD>");
    QVERIFY2(r.ok, qPrintable(r.error));
    QTEST(r.okTotal, "ok");
    QTEST(r.koTotal, "ko");
    QTEST(r.neTotal, "ne");
}

void TestReader::collectsTypesOnce()
{
    const Report r = read("<XROD><XROD:NODE name=\"a\" type=\"suite\" state=\"ok\"><TAG/>"
                          "<XROD:NODE name=\"b\" type=\"test\" state=\"ok\"><TAG/></XROD:NODE>"
                          "<XROD:NODE name=\"c\" type=\"test\" state=\"ok\"><TAG/></XROD:NODE>"
                          "</XROD:NODE>"
                          "<XROD:NODE name=\"\" type=\"suite\" state=\"\"><TAG/></XROD:NODE>"
                          "</XROD>");
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.types, (QStringList{"suite", "test"}));
    const QList<QAReporterNode*> nodes = nodesOf(r.tree.get());
    QCOMPARE(nodes.size(), 4);
    // An empty state or name is present, not absent.
    QVERIFY(!nodes.at(3)->state.isNull() && nodes.at(3)->state.isEmpty());
    QVERIFY(!nodes.at(3)->name.isNull() && nodes.at(3)->name.isEmpty());
}

// Input that is not a sound report fails with a reason, and counts nothing:
// well-formed XML whose root is not XROD holds no test nodes, and reading it
// as an empty report would let a broken run pass for a clean one.
void TestReader::refusedWithAReason_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("reason");
    const QStringList noAml{"nested XMLROD init element.\n"};
    const QStringList badXml{"line "};
    auto notAReport = [](const QString& root) {
        return QStringList{"not a report", "<" + root + ">", "<XROD>"};
    };
    QTest::newRow("nodes without AML")
        << QByteArray("<XROD><XROD:NODE name=\"a\" type=\"t\"/></XROD>") << noAml;
    QTest::newRow("empty root") << QByteArray("<XROD/>") << noAml;
    QTest::newRow("node as root") << QByteArray(
                                         "<XROD:NODE name=\"a\" type=\"t\"><TAG/></XROD:NODE>")
                                  << QStringList{"not a report"};
    QTest::newRow("second root") << QByteArray("<XROD><TAG/><XROD><TAG/></XROD></XROD>")
                                 << QStringList{"more than one XROD root"};
    QTest::newRow("no name") << QByteArray("<XROD><XROD:NODE type=\"t\"><TAG/></XROD:NODE></XROD>")
                             << QStringList{"Xml/ROD, unvalable name attribute.\n"};
    QTest::newRow("no type") << QByteArray("<XROD><XROD:NODE name=\"n\"><TAG/></XROD:NODE></XROD>")
                             << QStringList{"Xml/ROD, unvalable type attribute.\n"};
    QTest::newRow("picture") << QByteArray("<?xml version=\"1.0\"?>\n<svg xmlns="
                                           "\"http://www.w3.org/2000/svg\"><rect/></svg>")
                             << notAReport("svg");
    QTest::newRow("lower-case tags")
        << QByteArray("<xrod><xrod:node name=\"a\" type=\"t\" state=\"ko\" sum=\"2\">"
                      "<paragraph>x</paragraph></xrod:node></xrod>")
        << notAReport("xrod");
    QTest::newRow("node in plain AML")
        << QByteArray("<DOCUMENT><XROD:NODE name=\"a\" type=\"t\" state=\"ko\" sum=\"1\">"
                      "<TAG/></XROD:NODE></DOCUMENT>")
        << notAReport("DOCUMENT");
    QTest::newRow("report below another root")
        << QByteArray("<DOCUMENT><XROD><XROD:NODE name=\"a\" type=\"t\"><TAG/></XROD:NODE>"
                      "</XROD></DOCUMENT>")
        << notAReport("DOCUMENT");
    QTest::newRow("empty") << QByteArray() << badXml;
    QTest::newRow("truncated") << QByteArray("<XROD><XROD:NODE name=\"a\" type=\"t\"><PARA")
                               << badXml;
    QTest::newRow("unclosed") << QByteArray("<XROD><XROD:NODE name=\"a\" type=\"t\"><TAG/>")
                              << badXml;
    QTest::newRow("mismatched") << QByteArray("<XROD><SECTION></PARAGRAPH></XROD>") << badXml;
    QTest::newRow("bad attribute") << QByteArray("<XROD><SECTION name=a/></XROD>") << badXml;
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919 + 13) % 256);
    QTest::newRow("binary") << garbage << badXml;
    QTest::newRow("text only") << QByteArray("just some text, no markup\n") << badXml;
    // XROD itself is one level; far deeper input stops at the limit.
    const QStringList tooDeep{"elements nested deeper than 2000 levels", "line 1"};
    QTest::newRow("too deep") << nested(2000) << tooDeep;
    QTest::newRow("absurdly deep") << nested(1000000) << tooDeep;
    QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE XROD [\n<!ENTITY a0 \"lollollollol\">\n";
    for (int i = 1; i <= 9; ++i)
        bomb += "<!ENTITY a" + QByteArray::number(i) + " \"" +
                QByteArray("&a" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
    QTest::newRow("entity expansion bomb")
        << bomb + "]>\n<XROD><XROD:NODE name=\"a\" type=\"t\"><PARAGRAPH>&a9;</PARAGRAPH>"
                  "</XROD:NODE></XROD>"
        << QStringList();
}

void TestReader::refusedWithAReason()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, reason);
    const Report r = read(xml);
    QVERIFY(!r.ok);
    QVERIFY(!r.error.isEmpty());
    for (const QString& part : reason)
        QVERIFY2(r.error.contains(part), qPrintable(r.error));
    QCOMPARE(r.koTotal, 0);
}

void TestReader::unreadablePathsFailNamingTheFile_data()
{
    const QString examples = QStringLiteral(XRD_SOURCE_DIR "/examples");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << examples + "/no-such-report.xrd"
                             << "";
    QTest::newRow("folder") << examples << "";
    QTest::newRow("no path") << QString() << "";
    QTest::newRow("other XML") << examples + "/kestrel-logo.svg"
                               << "not a report";
}

void TestReader::unreadablePathsFailNamingTheFile()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    QAstXmlRodReader reader;
    QVERIFY(!reader.parseFile(path, nullptr));
    QVERIFY(!reader.errorString().isEmpty());
    QVERIFY2(reader.errorString().contains(path), qPrintable(reader.errorString()));
    QVERIFY2(reader.errorString().contains(reason), qPrintable(reader.errorString()));
    QVERIFY(!reader.takeTree());
}

void TestReader::fileDeletedWhileOpenIsStillRead()
{
    // Only a real file can be removed while it is open.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath("gone.xrd"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<XROD><XROD:NODE name=\"a\" type=\"t\" state=\"ok\" sum=\"2\"><TAG/></XROD:NODE>"
               "</XROD>");
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(QFile::remove(file.fileName()));
    QAstXmlRodReader reader;
    QVERIFY2(reader.parse(&file, &file, nullptr), qPrintable(reader.errorString()));
    QCOMPARE(reader.okTotal(), 2);
}

void TestReader::longTextRunIsReadWhole()
{
    const qsizetype size = 16 * 1024 * 1024;
    Pipe source("<XROD><XROD:NODE name=\"a\" type=\"t\"><PARAGRAPH><TEXT>" +
                QByteArray("0123456789abcdef").repeated(size / 16) +
                "</TEXT></PARAGRAPH></XROD:NODE></XROD>");
    QVERIFY(source.open(QIODevice::ReadOnly));
    QAstXmlRodReader reader;
    QVERIFY2(reader.parse(&source, nullptr, nullptr), qPrintable(reader.errorString()));
    QVERIFY(source.atEnd());
    std::unique_ptr<QAReporterDataTree> tree(reader.takeTree());
    std::unique_ptr<DDocument> document(reader.takeDocument());
    auto* text = static_cast<DText*>(static_cast<DParagraph*>(document->first())->first());
    QCOMPARE(text->kind(), DItem::Text);
    QCOMPARE(text->text().size(), size);
    QVERIFY(text->text().startsWith("0123456789abcdef0123"));
    QVERIFY(text->text().endsWith("abcdef"));
    QCOMPARE(text->text().count(QLatin1Char('f')), size / 16);
}

void TestReader::progressIsReported()
{
    // 6 elements, padded so that the step total (size / 50) is 3.
    const QString path = QStringLiteral(":/reports/run.xrd");
    QCOMPARE(QFileInfo(path).size(), 199);

    RecordingStudio studio;
    QAstXmlRodReader reader;
    QVERIFY2(reader.parseFile(path, &studio), qPrintable(reader.errorString()));
    QCOMPARE(studio.calls,
             (QStringList{"progressStart 3 Analysing run.xrd Cancel", "progressEnd"}));
    QCOMPARE(studio.steps, (QList<int>{0, 1, 2, 2, 2, 2}));

    // The counter starts again for each file; without a host nothing is reported.
    studio.steps.clear();
    QVERIFY(reader.parseFile(path, &studio));
    QCOMPARE(studio.steps.first(), 0);
    studio.calls.clear();
    studio.steps.clear();
    QVERIFY(reader.parseFile(path, nullptr));
    QVERIFY(studio.calls.isEmpty());
    QVERIFY(studio.steps.isEmpty());
}

void TestReader::smallFileReportsMinusOne()
{
    QFile file(QStringLiteral(":/reports/s.xrd"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.size() > 0 && file.size() < 50);
    RecordingStudio studio;
    const Report r = read(file.readAll(), &studio, &file);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(studio.calls.first(), QString("progressStart 0 Analysing s.xrd Cancel"));
    QCOMPARE(studio.steps, (QList<int>{-1, -1}));
}

void TestReader::ownership()
{
    const QByteArray xml = "<XROD><XROD:NODE name=\"a\" type=\"t\"><TAG/></XROD:NODE></XROD>";
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    QPointer<QAReporterDataTree> untaken;
    {
        QAstXmlRodReader reader;
        QVERIFY(reader.parse(&buffer, nullptr, nullptr));
        untaken = reader.handler()->tree();
        QVERIFY(untaken);
    }
    QVERIFY(untaken.isNull());

    buffer.seek(0);
    QAstXmlRodReader reader;
    QVERIFY(reader.parse(&buffer, nullptr, nullptr));
    std::unique_ptr<QAReporterDataTree> taken(reader.takeTree());
    QVERIFY(taken);
    QVERIFY(!reader.takeTree());
    std::unique_ptr<DDocument> document(reader.takeDocument());
    QVERIFY(document);
    QVERIFY(!reader.takeDocument());

    // A second parse drops an untaken tree from the first one.
    buffer.seek(0);
    QVERIFY(reader.parse(&buffer, nullptr, nullptr));
    QPointer<QAReporterDataTree> first = reader.handler()->tree();
    buffer.seek(0);
    QVERIFY(reader.parse(&buffer, nullptr, nullptr));
    QVERIFY(first.isNull());
    QVERIFY(reader.handler()->tree());
    // Node ids go on counting across parses of one handler.
    QCOMPARE(nodesOf(reader.handler()->tree()).first()->id, QString("3"));
}

void TestReader::accessorsWithoutHandler()
{
    QAstXmlRodReader reader;
    reader.setContentHandler(nullptr);
    QBuffer buffer;
    buffer.setData("<XROD><TAG/></XROD>");
    buffer.open(QIODevice::ReadOnly);
    RecordingStudio studio;
    QVERIFY(!reader.parse(&buffer, nullptr, &studio));
    QVERIFY(studio.calls.isEmpty());
    QVERIFY(!reader.takeTree());
    QVERIFY(reader.types().isEmpty());
    QCOMPARE(QList<qint64>({reader.okTotal(), reader.koTotal(), reader.neTotal()}),
             QList<qint64>({0, 0, -1}));
    QVERIFY(!reader.errorString().isEmpty());
    QVERIFY(!reader.parseFile(QString(XRD_SOURCE_DIR) + "/examples/release-passed.xrd"));
}

void TestReader::examplesAreReadable()
{
    const QDir examples(QString(XRD_SOURCE_DIR) + "/examples");
    const QStringList files = examples.entryList({"*.xrd"}, QDir::Files);
    QVERIFY(files.size() >= 3);
    int failed = 0;
    bool inconclusive = false;
    for (const QString& name : files) {
        QAstXmlRodReader reader;
        QVERIFY2(reader.parseFile(examples.filePath(name)),
                 qPrintable(name + ": " + reader.errorString()));
        std::unique_ptr<QAReporterDataTree> tree(reader.takeTree());
        std::unique_ptr<DDocument> document(reader.takeDocument());
        QVERIFY(document);
        for (QAReporterNode* node : nodesOf(tree.get()))
            QVERIFY2(node->startItem, qPrintable(name + ": " + node->name));
        failed += reader.koTotal();
        inconclusive = inconclusive || reader.neTotal() > 0;
    }
    QVERIFY(failed > 0);
    QVERIFY(inconclusive);
}

QTEST_GUILESS_MAIN(TestReader)
#include "tst_reader.moc"
