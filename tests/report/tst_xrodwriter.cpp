// Reports written as one report file and read back come back whole.

#include "damlreader.h"
#include "damlwriter.h"
#include "ditems.h"
#include "dstyle.h"
#include "files.h"
#include "qaxrodwriter.h"
#include "xrodrecords.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Record = std::unique_ptr<QAReporterData>;

// Styles for every name the markup uses, so that items keep their style
// and the comparison sees style names.
class StylePool
{
public:
    ~StylePool() { qDeleteAll(m_styles); }
    Record read(const QByteArray& xml, QString* error = nullptr)
    {
        static const QRegularExpression style(QStringLiteral("style=\"([^\"]+)\""));
        for (const auto& match : style.globalMatch(QString::fromUtf8(xml))) {
            const QString name = match.captured(1);
            if (std::none_of(m_styles.cbegin(), m_styles.cend(),
                             [&name](const DStyle* known) { return known->name() == name; }))
                m_styles.append(new DStyle(name));
        }
        QString ignored;
        return readRecord(xml, m_styles, error ? error : &ignored);
    }

private:
    QList<DStyle*> m_styles;
};

QByteArray written(const QList<QAReporterData*>& records)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QAXrodWriter writer(&buffer);
    writer.write(records);
    return buffer.data();
}

// Where an item is: child indices from its document down, kind and text.
QString placeOf(const DItem* item, const QString& prefix = QString())
{
    if (!item)
        return QStringLiteral("(none)");
    QStringList steps;
    for (const DItem* at = item; at->parent(); at = at->parent()) {
        int index = 0;
        for (const DItem* sibling = at->parent()->first(); sibling != at; sibling = sibling->next())
            ++index;
        steps.prepend(QString::number(index));
    }
    if (!prefix.isEmpty())
        steps.prepend(prefix);
    const QString text =
        item->kind() == DItem::Text ? static_cast<const DText*>(item)->text() : QString();
    return steps.join(u'/') + u' ' + QLatin1String(DItem::kindName(item->kind())) + u' ' + text;
}

// One line per node below the root, in tree order: depth, attributes and
// the places of its first and last item (prefix leads every place).
QStringList nodeLines(QAReporterDataTree* tree, const QString& prefix = QString(),
                      bool withIds = true)
{
    QStringList lines;
    tree->iterator()->toRoot();
    while (const QAReporterNode* node = tree->next(PreOrder)) {
        lines << QString("%1%2 | %3 | %4 | %5 | %6 | %7 | %8 | %9")
                     .arg(withIds ? node->id() + " | " : QString(),
                          QString::number(tree->iterator()->depth()), node->name, node->type,
                          node->state, node->icon(), node->base(), placeOf(node->startItem, prefix),
                          placeOf(node->endItem, prefix));
    }
    return lines;
}

// The report files of the sources that the reader takes.
QStringList readableReports()
{
    QStringList paths;
    for (const char* folder : {"/examples", "/tests/report/reports", "/tests/viewer/reports",
                               "/tests/viewer/reports/sub"}) {
        const QDir dir(QString(XRD_SOURCE_DIR) + QLatin1String(folder));
        for (const QString& name : dir.entryList({"*.xrd"}, QDir::Files, QDir::Name)) {
            // Every example reads; the tests' broken reports are left out.
            if (folder[1] == 'e' || StylePool().read(readFile(dir.filePath(name))))
                paths << dir.filePath(name);
        }
    }
    return paths;
}

// A document of nested sections, depth levels deep (the document is one).
DDocument* nestedDocument(int depth)
{
    auto* document = new DDocument;
    DItemContainer* container = document;
    for (int level = 1; level < depth; ++level)
        container = static_cast<DItemContainer*>(container->insertAfter(nullptr, new DSection));
    return document;
}

} // namespace

class TestXrodWriter : public QObject
{
    Q_OBJECT

private slots:
    void readsBackTheSame_data();
    void readsBackTheSame();
    void hostileTextsStayReadable();
    void refusesWhatAReaderCouldNotTake();
};

void TestXrodWriter::readsBackTheSame_data()
{
    QTest::addColumn<QByteArray>("xml");
    for (const QString& path : readableReports())
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << readFile(path);
    QTest::newRow("empty nodes and nodes between items")
        << QByteArray("<XROD><XROD:NODE name=\"before\" type=\"t\"/><DOCUMENT name=\"d\">"
                      "<XROD:NODE name=\"e0\" type=\"t\"/><TITLE>t</TITLE>"
                      "<XROD:NODE name=\"s\" type=\"suite\" state=\"ko\" sum=\"2\"><SECTION>"
                      "<PARAGRAPH>p</PARAGRAPH><XROD:NODE name=\"gap\" type=\"t\" state=\"NE\" "
                      "sum=\"0\"/>tail<XROD:NODE name=\"inner\" type=\"c\" state=\"ok\" sum=\"3\" "
                      "icone=\"i.png\" base=\"/b/\"><TAG/><TAG/></XROD:NODE></SECTION>"
                      "<XROD:NODE name=\"after\" type=\"t\"/></XROD:NODE>"
                      "<PARAGRAPH>x<LINK target=\"y\">y</LINK></PARAGRAPH>"
                      "<XROD:NODE name=\"end\" type=\"t\" state=\"ok\"/></DOCUMENT>"
                      "<XROD:NODE name=\"outside\" type=\"t\"><XROD:NODE name=\"child\" "
                      "type=\"t\"/></XROD:NODE></XROD>");
    QTest::newRow("nodes in a cell text")
        << QByteArray("<XROD><DOCUMENT><TABLE><ROW><CELLTEXT>head<XROD:NODE name=\"x\" "
                      "type=\"t\"><TAG name=\"a\"/></XROD:NODE>tail</CELLTEXT></ROW></TABLE>"
                      "</DOCUMENT></XROD>");
}

void TestXrodWriter::readsBackTheSame()
{
    QFETCH(QByteArray, xml);
    StylePool styles;
    const Record source = styles.read(xml);
    QVERIFY(source);
    const QByteArray output = written({source.get()});
    QString error;
    const Record copy = styles.read(output, &error);
    QVERIFY2(copy, qPrintable(error + u'\n' + QString::fromUtf8(output)));

    QCOMPARE(nodeLines(copy->tree), nodeLines(source->tree));
    QCOMPARE(placeOf(copy->tree->root()->data->startItem),
             placeOf(source->tree->root()->data->startItem));
    QCOMPARE(copy->types, source->types);
    QCOMPARE(QList<qint64>({copy->okCount, copy->koCount, copy->neCount}),
             QList<qint64>({source->okCount, source->koCount, source->neCount}));
    QCOMPARE(DAmlWriter::toAml(copy->document.get()), DAmlWriter::toAml(source->document.get()));
    QCOMPARE(written({copy.get()}), output); // the same file again

    // Side by side: each document whole under the root one, nodes in turn.
    const Record twice = styles.read(written({source.get(), copy.get()}));
    QVERIFY(twice);
    QCOMPARE(nodeLines(twice->tree, QString(), false),
             nodeLines(source->tree, "0", false) + nodeLines(copy->tree, "1", false));
    QStringList documents;
    for (DItem* document = twice->document->first(); document; document = document->next())
        documents << DAmlWriter::toAml(static_cast<DDocument*>(document));
    QCOMPARE(documents, QStringList(2, DAmlWriter::toAml(source->document.get())));
    const qint64 most = std::numeric_limits<qint64>::max(); // totals saturate
    QCOMPARE(twice->koCount, source->koCount > most / 2 ? most : 2 * source->koCount);
}

void TestXrodWriter::hostileTextsStayReadable()
{
    StylePool styles;
    const Record source = styles.read(
        "<XROD><DOCUMENT title=\"&quot;&lt;&amp;&gt;'\"><PARAGRAPH>a&lt;b&amp;c\"]]&gt;"
        "\xF0\x9F\x98\x80</PARAGRAPH><XROD:NODE name=\"n\" type=\"t\" state=\"ok\" sum=\"1\">"
        "<TAG name=\"&lt;/XROD:NODE&gt;\"/></XROD:NODE></DOCUMENT></XROD>");
    QVERIFY(source);
    QAReporterNode* node = source->tree->root()->children.first()->data;
    node->name = QStringLiteral("q\"<&>'\t\nx\U0001F600") + QChar(0x1) + QChar(0xD800) +
                 QStringLiteral("</XROD:NODE>");
    node->setBase(QStringLiteral("C:\\a b\\") + QChar(0xDC00) + QChar(0xFFFF) + QChar(0x1B));
    node->setIcon(QStringLiteral(""));

    const Record copy = styles.read(written({source.get()}));
    QVERIFY(copy);
    const QAReporterNode* back = copy->tree->root()->children.first()->data;
    const QChar replaced = QChar::ReplacementCharacter;
    QCOMPARE(back->name, QStringLiteral("q\"<&>'\t\nx\U0001F600") + replaced + replaced +
                             QStringLiteral("</XROD:NODE>"));
    QCOMPARE(back->base(), QStringLiteral("C:\\a b\\") + replaced + replaced + replaced);
    QVERIFY(!back->icon().isNull() && back->icon().isEmpty());
    QCOMPARE(DAmlWriter::toAml(copy->document.get()), DAmlWriter::toAml(source->document.get()));
}

// A report whose written form nests as deep as a reader takes is written
// and reads back; one level more is refused naming the limit, and leaves an
// earlier file as it was. An uncreatable file is refused naming it.
void TestXrodWriter::refusesWhatAReaderCouldNotTake()
{
    const int limit = DAmlReader::maxDepth();
    QAReporterData deepest; // written without a DOCUMENT element
    deepest.document.reset(nestedDocument(limit));
    deepest.tree = new QAReporterDataTree(new QAReporterNode);
    QAReporterData deeper;
    deeper.document.reset(nestedDocument(limit + 1));
    deeper.tree = new QAReporterDataTree(new QAReporterNode);
    QTemporaryDir dir;
    QString error;
    const QString target = dir.filePath("out.xrd");
    QVERIFY2(QAXrodWriter::writeFile(target, {&deepest}, &error), qPrintable(error));
    const QByteArray before = readFile(target);
    QVERIFY(StylePool().read(before));
    QVERIFY(written({&deeper}).isEmpty()); // refused before writing anything
    QVERIFY(!QAXrodWriter::writeFile(target, {&deeper}, &error));
    QVERIFY2(error.contains(QString::number(limit)), qPrintable(error));
    QCOMPARE(readFile(target), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.xrd"});
    const QString missing = dir.filePath("no-such-folder/out.xrd");
    QVERIFY(!QAXrodWriter::writeFile(missing, {&deepest}, &error));
    QVERIFY2(error.contains(missing), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestXrodWriter)
#include "tst_xrodwriter.moc"
