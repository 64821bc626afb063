// Every format the importer reads, from file to record: the report builder
// must accept what each parser feeds it (cases right under the run,
// suites after classes, totals claimed before the first suite) and count
// the cases as the parser reports them.
#include "ddocument.h"
#include "qareporterdata.h"
#include "qareporternode.h"
#include "qaresultimporter.h"
#include "samples.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Shape
{
    QStringList types; // every node type, in the order first met
    int cases = 0;     // nodes of type testcase
    int maxDepth = 0;
};

Shape shapeOf(QAReporterDataTree* tree)
{
    Shape shape;
    QList<QPair<const QTreeNode<QAReporterNode>*, int>> pending{{tree->root(), 0}};
    while (!pending.isEmpty()) {
        const auto [node, depth] = pending.takeLast();
        if (const QAReporterNode* data = node->data) {
            if (!data->type.isEmpty() && !shape.types.contains(data->type))
                shape.types << data->type;
            shape.cases += data->type == QLatin1String("testcase");
        }
        shape.maxDepth = qMax(shape.maxDepth, depth);
        for (auto it = node->children.crbegin(); it != node->children.crend(); ++it)
            pending.append({*it, depth + 1});
    }
    return shape;
}

} // namespace

class TestImportFormats : public QObject
{
    Q_OBJECT

private slots:
    void everyFormatBecomesARecord_data();
    void everyFormatBecomesARecord();
};

void TestImportFormats::everyFormatBecomesARecord_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("format");
    QTest::addColumn<qint64>("ok");
    QTest::addColumn<qint64>("ko");
    QTest::addColumn<qint64>("ne");
    QTest::newRow("tap") << Samples::tap() << "TAP" << 1LL << 1LL << 1LL;
    QTest::newRow("nunit") << Samples::nunit() << "NUnit 3" << 1LL << 1LL << 2LL;
    QTest::newRow("xunit") << Samples::xunit() << "xUnit.net v2" << 1LL << 1LL << 2LL;
    QTest::newRow("trx") << Samples::trx() << "TRX" << 1LL << 1LL << 1LL;
    QTest::newRow("junit") << Samples::junit() << "JUnit XML" << -1LL << -1LL << -1LL;
}

void TestImportFormats::everyFormatBecomesARecord()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, format);
    QFETCH(qint64, ok);
    QFETCH(qint64, ko);
    QFETCH(qint64, ne);
    QCOMPARE(QAResultImporter::formatName(content.left(4096)), format);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("results");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    QString error;
    const std::unique_ptr<QAReporterData> record =
        QAResultImporter::import(path, {}, nullptr, &error);
    QVERIFY2(record, qPrintable(error));
    QVERIFY(record->tree && record->document.get());

    const Shape shape = shapeOf(record->tree);
    QCOMPARE(shape.types.value(0), QStringLiteral("run"));
    QVERIFY(shape.types.contains("testcase"));
    const qint64 inconclusive = qMax(record->neCount, qint64(0));
    QCOMPARE(record->okCount + record->koCount + inconclusive, qint64(shape.cases));
    if (ok >= 0) {
        QCOMPARE(record->okCount, ok);
        QCOMPARE(record->koCount, ko);
        QCOMPARE(record->neCount, ne);
    }
}

QTEST_MAIN(TestImportFormats)
#include "tst_importformats.moc"
