#include "dxmlattributes.h"
#include "dxmlsink.h"
#include "dxmltokenizer.h"

#include <QBuffer>
#include <QStringEncoder>
#include <QtTest>

// Writes every event as a line, and pauses after each when asked.
class Recorder : public DXmlSink
{
public:
    DXmlTokenizer* pauseAfterEach = nullptr;
    QStringList events;

    bool startElement(QStringView name, const DXmlAttributes& attributes) override
    {
        QString line = QLatin1String("<") + name.toString();
        for (int index = 0; index < attributes.count(); ++index)
            line += QLatin1String(" ") + attributes.name(index).toString() + QLatin1String("=") +
                    attributes.value(index).toString();
        return record(line);
    }
    bool endElement(QStringView name) override
    {
        return record(QLatin1String("/") + name.toString());
    }
    bool characters(QStringView text, bool whitespace) override
    {
        return record((whitespace ? QLatin1String("ws:") : QLatin1String("t:")) + text.toString());
    }

private:
    bool record(const QString& line)
    {
        events.append(line);
        if (pauseAfterEach)
            pauseAfterEach->pause();
        return true;
    }
};

struct Result
{
    QStringList events;
    bool ok = false;
    DXmlTokenizer::Error error = DXmlTokenizer::NoError;
    QString errorString;
    bool truncated = false;
};

Result tokenize(const QByteArray& xml, bool pausing, bool namespaces = false)
{
    QBuffer device;
    device.setData(xml);
    device.open(QIODevice::ReadOnly);
    Recorder recorder;
    DXmlTokenizer tokenizer(&device, &recorder, namespaces);
    if (pausing)
        recorder.pauseAfterEach = &tokenizer;
    Result result;
    result.ok = tokenizer.run();
    while (result.ok && tokenizer.isPaused())
        result.ok = tokenizer.run();
    result.events = recorder.events;
    result.error = tokenizer.error();
    result.errorString = tokenizer.errorString();
    result.truncated = tokenizer.isTruncated();
    return result;
}

class TestXmlTokenizer : public QObject
{
    Q_OBJECT

private slots:
    void eventsWithAndWithoutPauses();
    void namespacesGiveLocalNames();
    void encodings();
    void errorsSayWhatAndWhere();
};

// Text between two tags is one event whatever splits it (references,
// CDATA, comments, chunk boundaries), and pausing after every event gives
// the same events in the same order.
void TestXmlTokenizer::eventsWithAndWithoutPauses()
{
    QByteArray xml = "<?xml version='1.0'?><!DOCTYPE r><r a='1' b=''>x &amp; <!-- c -->"
                     "<![CDATA[<y>]]>&#233;\n<e/>\n <f g='&lt;'>\xc3\xa9t\xc3\xa9</f></r>";
    const QStringList expected = {"<r a=1 b=", "t:x & <y>\u00e9\n", "<e", "/e", "ws:\n ",
                                  "<f g=<",    "t:\u00e9t\u00e9",   "/f", "/r"};
    for (bool pausing : {false, true}) {
        const Result result = tokenize(xml, pausing);
        QVERIFY2(result.ok, qPrintable(result.errorString));
        QCOMPARE(result.events, expected);
    }
    // A text longer than a chunk, with a multi-byte character across the
    // chunk boundary, still comes in one piece.
    const QByteArray longText =
        QByteArray(DXmlTokenizer::ChunkSize - 4, 'a') + "\xe2\x82\xac" + QByteArray(100, 'b');
    const Result result = tokenize("<r>" + longText + "</r>", true);
    QCOMPARE(result.events.size(), 3);
    QCOMPARE(result.events.at(1), "t:" + QString::fromUtf8(longText));
}

void TestXmlTokenizer::namespacesGiveLocalNames()
{
    const QByteArray xml = "<t:r xmlns:t='urn:x' xmlns='urn:d' t:a='1'><c b='2'/></t:r>";
    QCOMPARE(tokenize(xml, false, true).events, (QStringList{"<r a=1", "<c b=2", "/c", "/r"}));
    QCOMPARE(tokenize(xml, false, false).events.first(), "<t:r xmlns:t=urn:x xmlns=urn:d t:a=1");
    const Result unbound = tokenize("<u:r/>", false, true);
    QCOMPARE(unbound.error, DXmlTokenizer::SyntaxError);
}

// UTF-16 and the single-byte encodings a declaration names are decoded;
// an encoding nobody knows is an error, not a crash.
void TestXmlTokenizer::encodings()
{
    const QString text = QStringLiteral("<r>caf\u00e9 \u20ac</r>");
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QCOMPARE(tokenize(utf16.encode(text), false).events.value(1), "t:caf\u00e9 \u20ac");
    const QByteArray windows = "<?xml version='1.0' encoding='windows-1252'?><r>caf\xe9 \x80</r>";
    QCOMPARE(tokenize(windows, false).events.value(1), "t:caf\u00e9 \u20ac");
    const Result unknown = tokenize("<?xml version='1.0' encoding='no-such'?><r/>", false);
    QVERIFY(!unknown.ok);
    QCOMPARE(unknown.error, DXmlTokenizer::SyntaxError);
    // ASCII goes in steps of 16 and 8 bytes: a character of two bytes at
    // every place around those steps, in texts and attribute values.
    for (int at = 0; at < 40; ++at) {
        QByteArray ascii(41, 'a');
        for (int index = 0; index < ascii.size(); ++index)
            ascii[index] = char('a' + index % 26);
        const QByteArray utf8 = ascii.left(at) + "\xc3\xa9" + ascii.mid(at);
        const QString expected = QString::fromUtf8(utf8);
        const Result result = tokenize("<r v='" + utf8 + "'>" + utf8 + "</r>", false);
        QCOMPARE(result.events.value(0), "<r v=" + expected);
        QCOMPARE(result.events.value(1), "t:" + expected);
    }
}

void TestXmlTokenizer::errorsSayWhatAndWhere()
{
    const Result truncated = tokenize("<r>\n<a>text", false);
    QVERIFY(truncated.truncated);
    QVERIFY2(truncated.errorString.startsWith("line 2,"), qPrintable(truncated.errorString));
    const Result empty = tokenize("", false);
    QVERIFY(!empty.ok);
    QVERIFY(!empty.truncated);
    const Result mismatched = tokenize("<r>\n  <a></b></r>", false);
    QVERIFY(!mismatched.truncated);
    QVERIFY2(mismatched.errorString.startsWith("line 2, column 8:"),
             qPrintable(mismatched.errorString));
    QCOMPARE(mismatched.events, QStringList({"<r", "ws:\n  ", "<a"}));
    QByteArray deep;
    for (int level = 0; level <= DXmlTokenizer::MaxDepth; ++level)
        deep += "<a>";
    QCOMPARE(tokenize(deep, false).error, DXmlTokenizer::TooDeep);
    const QByteArray bomb = "<!DOCTYPE r [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;'>]>"
                            "<r>&b;&b;&b;</r>";
    const Result refused = tokenize(bomb, false);
    QCOMPARE(refused.error, DXmlTokenizer::EntityDeclared);
    QVERIFY(refused.events.isEmpty());
}

QTEST_GUILESS_MAIN(TestXmlTokenizer)
#include "tst_xmltokenizer.moc"
