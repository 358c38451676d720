#include "platform/richtext/richtextloader.h"
#include "platform/richtext/rtfreader.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

/** Hostile RTF: nothing crashes, hangs or grows without bound, and the text read so far stays. */
class TestRtfRobustness : public QObject
{
    Q_OBJECT

private slots:
    void oddInputKeepsTheReadableText_data();
    void oddInputKeepsTheReadableText();
    void aMillionOpenBracesStopAtTheDepthBound();
    void hugeNumbersAreClamped();
    void boundsCutTheTextShort_data();
    void boundsCutTheTextShort();
    void fiftyMegabytesAreReadWithinTheBounds_data();
    void fiftyMegabytesAreReadWithinTheBounds();
    void everyPrefixOfAFileReads();
    void randomBytesNeverCrash();
};

namespace {

QString read(const QByteArray &rtf, const platform::RichTextLimits &limits = {},
             bool *complete = nullptr)
{
    QTextDocument document;
    const bool all = platform::RtfReader(limits).read(rtf, document);
    if (complete)
        *complete = all;
    return document.toPlainText();
}

const QByteArray header = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}";

} // namespace

void TestRtfRobustness::oddInputKeepsTheReadableText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("stray closing braces end the document")
        << header + "a}}}}b" << QStringLiteral("a");
    QTest::newRow("missing closing braces") << header + "{\\b a{\\i b" << QStringLiteral("ab");
    QTest::newRow("huge bin takes the rest")
        << header + "a\\bin99999999999 xyz}" << QStringLiteral("a");
    QTest::newRow("bin in a picture")
        << header + "{\\pict\\pngblip\\bin4 {}\\\\}after}" << QStringLiteral("after");
    QTest::newRow("negative bin") << header + "a\\bin-5 b}" << QStringLiteral("ab");
    QTest::newRow("broken hex escape") << header + "a\\'zz\\'4b}" << QStringLiteral("azzK");
    QTest::newRow("backslash at the end") << header + "abc\\" << QStringLiteral("abc");
    QTest::newRow("unicode out of range, its stand-in skipped")
        << header + "a\\u99999999999 ?b\\u-99999 ?c}" << QStringLiteral("abc");
    QTest::newRow("lone surrogates")
        << header + "a\\u-10179?b\\u-8704?c}" << QStringLiteral("a\ufffdb\ufffdc");
    QTest::newRow("unicode skip past a group")
        << header + "\\uc5\\u1046{x}y}" << QStringLiteral("\u0416xy");
    QTest::newRow("characters QTextDocument would act on")
        << header + "a\\u8233?b\\u65532?c\\u64976?d\x01\x02}"
        << QStringLiteral("a\nb\ufffdc\ufffdd");
    QTest::newRow("control word of a thousand letters")
        << header + "\\" + QByteArray(1000, 'x') + " tail}" << QStringLiteral("tail");
    QTest::newRow("font table without semicolons")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial}{\\f1\\fcharset204 Times}}\\f1 \\'c0}")
        << QStringLiteral("\u0410");
    QTest::newRow("colour index past the table")
        << header + "{\\colortbl;\\red1;}\\cf999999\\cb-4 x}" << QStringLiteral("x");
    QTest::newRow("nested pictures") << header + "{\\pict{\\pict 00}ff}ok}" << QStringLiteral("ok");
    QTest::newRow("picture that is not an image")
        << header + "{\\pict\\pngblip 0102030405}ok}" << QStringLiteral("ok");
}

void TestRtfRobustness::oddInputKeepsTheReadableText()
{
    // Broken and odd constructs are read as far as they make sense.
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(read(rtf), text);
}

void TestRtfRobustness::aMillionOpenBracesStopAtTheDepthBound()
{
    // A million nested groups stop the reading at the depth bound; the text before stays.
    const QByteArray rtf = header + "before" + QByteArray(1'000'000, '{') + "inside";
    bool complete = true;
    QCOMPARE(read(rtf, {}, &complete), QStringLiteral("before"));
    QVERIFY(!complete);
    // Nesting below the bound is read in full.
    const QByteArray deep = header + QByteArray(900, '{') + "deep" + QByteArray(900, '}') + "}";
    QCOMPARE(read(deep, {}, &complete), QStringLiteral("deep"));
    QVERIFY(complete);
}

void TestRtfRobustness::hugeNumbersAreClamped()
{
    // Overflowing sizes and indents give the largest allowed values, not wrapped ones.
    QTextDocument document;
    platform::RtfReader().read(header + "\\fs99999999999999\\li-99999999999999\\fi99999999 big}",
                               document);
    const QTextBlock block = document.begin();
    QCOMPARE(block.text(), QStringLiteral("big"));
    QCOMPARE(block.begin().fragment().charFormat().fontPointSize(), 1638.0);
    QCOMPARE(block.blockFormat().leftMargin(), -31680 / 15.0);
    QCOMPARE(block.blockFormat().textIndent(), 31680 / 15.0);
}

void TestRtfRobustness::boundsCutTheTextShort_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("paragraphs");
    QTest::addColumn<int>("length");
    QTest::newRow("paragraphs") << header + QByteArray("ab\\par ").repeated(100) + "}" << 10 << 29;
    QTest::newRow("characters") << header + QByteArray(100, 'x') + "}" << 1 << 50;
    QTest::newRow("tables") << header + QByteArray("\\cell").repeated(100) + "x}" << 1 << 0;
}

void TestRtfRobustness::boundsCutTheTextShort()
{
    // Past the bounds on paragraphs and characters the reading stops with what it has.
    QFETCH(QByteArray, rtf);
    QFETCH(int, paragraphs);
    QFETCH(int, length);
    platform::RichTextLimits limits;
    limits.maxParagraphs = 10;
    limits.maxTextLength = 50;
    QTextDocument document;
    const bool complete = platform::RtfReader(limits).read(rtf, document);
    if (length > 0) {
        QVERIFY(!complete);
        QCOMPARE(document.blockCount(), paragraphs);
        QCOMPARE(document.characterCount() - 1, length);
    } else {
        // A hundred empty cells give a bounded run of tabs, not a hundred.
        QVERIFY(document.characterCount() - 1 <= 50);
    }
}

void TestRtfRobustness::fiftyMegabytesAreReadWithinTheBounds_data()
{
    QTest::addColumn<QByteArray>("unit");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("paragraphs") << QByteArray("line\\par ") << QByteArray() << QByteArray();
    QTest::newRow("one long paragraph") << QByteArray("words ") << QByteArray() << QByteArray();
    QTest::newRow("skipped destination")
        << QByteArray("{\\b x}\\'ff ") << QByteArray("{\\*\\big ") << QByteArray("}end");
    QTest::newRow("picture data") << QByteArray("0123456789abcdef")
                                  << QByteArray("{\\pict\\pngblip ") << QByteArray("}end");
    QTest::newRow("font table") << QByteArray("\\f1 A;") << QByteArray("{\\fonttbl ")
                                << QByteArray("}end");
    QTest::newRow("colour table") << QByteArray("\\red1;") << QByteArray("{\\colortbl ")
                                  << QByteArray("}end");
}

void TestRtfRobustness::fiftyMegabytesAreReadWithinTheBounds()
{
    // A 50 MB file of any kind reads without running past the text and picture bounds.
    QFETCH(QByteArray, unit);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const qsizetype count = 50 * 1024 * 1024 / unit.size();
    const QByteArray rtf = header + before + unit.repeated(count) + after + "}";
    QTextDocument document;
    platform::RtfReader().read(rtf, document);
    const platform::RichTextLimits limits;
    QVERIFY(document.characterCount() <= limits.maxTextLength + 1);
    QVERIFY(document.blockCount() <= limits.maxParagraphs);
    if (!after.isEmpty())
        QVERIFY(document.toPlainText().endsWith(QLatin1String("end")));
}

void TestRtfRobustness::everyPrefixOfAFileReads()
{
    // A file cut off anywhere reads up to the cut.
    const QByteArray rtf =
        header +
        "{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
        "{\\info{\\title t}}\\pard\\qc\\b\\cf1 \\'cf\\'e5\\'f1\\'ed\\'ff\\par"
        "\\pard\\uc1\\u1055?\\u1077?{\\pict\\pngblip\\picw1\\pich1 89504e47}"
        "\\trowd\\cellx100\\intbl a\\cell b\\cell\\row{\\field{\\*\\fldinst x}{\\fldrslt y}}}";
    for (qsizetype n = 0; n <= rtf.size(); ++n) {
        QTextDocument document;
        platform::RtfReader().read(rtf.first(n), document);
    }
    QCOMPARE(read(rtf), QStringLiteral("Песня\nПеa\tb\ny"));
}

void TestRtfRobustness::randomBytesNeverCrash()
{
    // Random bytes after the RTF signature, with many braces and backslashes, read safely.
    QRandomGenerator random(20261211);
    const char alphabet[] = "{}\\\\\\'*0123456789abcdefuvbinpictfs- \r\n\x80\xff";
    for (int round = 0; round < 300; ++round) {
        QByteArray rtf = "{\\rtf1 ";
        const int size = int(random.bounded(4000));
        for (int i = 0; i < size; ++i)
            rtf.append(round % 2 ? char(random.bounded(256))
                                 : alphabet[random.bounded(int(sizeof alphabet - 1))]);
        QTextDocument document;
        platform::RichTextLoader().load(rtf, document);
    }
}

QTEST_MAIN(TestRtfRobustness)
#include "tst_rtfrobustness.moc"
