#include "damlreader.h"
#include "damlwriter.h"
#include "ditems.h"
#include "documentitems.h"

#include <QtTest>

// Every kind of item read, written and read back: see tst_amlreader.
class TestAmlWriter : public QObject
{
    Q_OBJECT

private slots:
    void escapesTextsAndAttributes();
    void writesDocumentsNestedToTheReaderLimit();
};

void TestAmlWriter::escapesTextsAndAttributes()
{
    DDocument document(QStringLiteral("t\"<>&"), QStringLiteral("d"));
    auto* paragraph = static_cast<DItemContainer*>(document.insertAfter(nullptr, new DParagraph));
    auto* link = new DLink(QStringLiteral("x\ny\tz\r'\""));
    paragraph->insertAfter(nullptr, link);
    const QString text = QStringLiteral("a\r\nb\tc]]>d\u00e9\U0001F600") + QChar(0x1) +
                         QChar(0xD800) + QStringLiteral("e");
    link->insertAfter(nullptr, new DText(text));
    paragraph->insertAfter(link, new DText(QStringLiteral("\n  ")));

    const QString written = DAmlWriter::toAml(&document);
    auto copy = readAml(written.toUtf8());
    QVERIFY2(copy, qPrintable(written));
    QCOMPARE(copy->title(), document.title());
    auto* copiedLink = static_cast<DLink*>(static_cast<DItemContainer*>(copy->first())->first());
    QCOMPARE(copiedLink->target(), link->target());
    // Characters XML cannot carry are left out; everything else comes back.
    QCOMPARE(static_cast<DText*>(copiedLink->first())->text(),
             QStringLiteral("a\r\nb\tc]]>d\u00e9\U0001F600e"));
    QCOMPARE(static_cast<DText*>(copiedLink->next())->text(), QStringLiteral("\n  "));
}

void TestAmlWriter::writesDocumentsNestedToTheReaderLimit()
{
    const int sections = DAmlReader::maxDepth() - 2; // DOCUMENT and TEXT take two levels
    const QByteArray aml = "<DOCUMENT>" + QByteArray("<SECTION>").repeated(sections) +
                           "<TEXT>bottom</TEXT>" + QByteArray("</SECTION>").repeated(sections) +
                           "</DOCUMENT>";
    auto source = readAml(aml);
    QVERIFY(source);
    QCOMPARE(DAmlWriter::toAml(source.get()).toUtf8(), aml);
}

QTEST_GUILESS_MAIN(TestAmlWriter)
#include "tst_amlwriter.moc"
