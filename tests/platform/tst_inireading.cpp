#include "platform/inifile.h"
#include "support/tempdrive.h"

#include <QTest>

using platform::IniFile;
using platform::ProfileStore;

namespace {
// Windows-1251 bytes of "Песня" and "Тема".
const QByteArray pesnya1251 = QByteArray::fromHex("cfe5f1edff");
const QByteArray tema1251 = QByteArray::fromHex("d2e5ece0");
const QString pesnya = QString::fromUtf8("Песня");
const QString missing = QStringLiteral("<default>");
} // namespace

class TestIniReading : public QObject
{
    Q_OBJECT

private slots:
    void readsKitsAsWindowsUsersWriteThem_data();
    void readsKitsAsWindowsUsersWriteThem();
    void cutsLongValuesAt2047Characters();
    void readsIntegersAsDelphiDoes_data();
    void readsIntegersAsDelphiDoes();
    void missingFileGivesDefaults();
};

void TestIniReading::readsKitsAsWindowsUsersWriteThem_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("crlf") << QByteArray("[Section1]\r\nButton1=Rain\r\n") << "Section1" << "Button1" << "Rain";
    QTest::newRow("lf only") << QByteArray("[Section1]\nButton1=Rain\n") << "Section1" << "Button1" << "Rain";
    QTest::newRow("cr only") << QByteArray("[Section1]\rButton1=Rain\rButton2=Sun") << "Section1" << "Button2" << "Sun";
    QTest::newRow("no line end at the end") << QByteArray("[S]\r\nk=v") << "S" << "k" << "v";
    QTest::newRow("windows-1251 caption") << QByteArray("[Section1]\r\nButton1=" + pesnya1251 + "\r\n") << "Section1"
                                          << "Button1" << pesnya;
    QTest::newRow("windows-1251 section name")
        << QByteArray("[" + tema1251 + "]\r\nk=1\r\n") << QString::fromUtf8("тема") << "k" << "1";
    QTest::newRow("indented lines") << QByteArray("  [S]\r\n\tk = v\r\n") << "S" << "k" << "v";
    QTest::newRow("spaces around key and value") << QByteArray("[S]\r\n  k  =  a b  \r\n") << "S" << "k" << "a b";
    QTest::newRow("tabs and vertical tabs trimmed") << QByteArray("[S]\r\nk\t=\t\vv\t\r\n") << "S" << "k" << "v";
    QTest::newRow("section name trimmed") << QByteArray("[ S ]\r\nk=v\r\n") << "S" << "k" << "v";
    QTest::newRow("text after the bracket ignored") << QByteArray("[S] comment\r\nk=v\r\n") << "S" << "k" << "v";
    QTest::newRow("key on the header line is no key") << QByteArray("[S]k=1\r\n") << "S" << "k" << missing;
    QTest::newRow("header without bracket") << QByteArray("[S  \r\nk=v\r\n") << "S" << "k" << "v";
    QTest::newRow("section case") << QByteArray("[Section3]\r\nk=v\r\n") << "section3" << "k" << "v";
    QTest::newRow("key case") << QByteArray("[S]\r\nButton4=v\r\n") << "S" << "BUTTON4" << "v";
    QTest::newRow("cyrillic key case") << QByteArray("[S]\r\n" + pesnya1251 + "=v\r\n") << "S"
                                       << QString::fromUtf8("ПЕСНЯ") << "v";
    QTest::newRow("value keeps its case") << QByteArray("[S]\r\nk=MiXeD\r\n") << "S" << "k" << "MiXeD";
    QTest::newRow("comment line") << QByteArray("[S]\r\n;k=1\r\nk=2\r\n") << "S" << "k" << "2";
    QTest::newRow("indented comment") << QByteArray("[S]\r\n   ;k=1\r\n") << "S" << "k" << missing;
    QTest::newRow("no inline comments") << QByteArray("[S]\r\nk=v ;c\r\n") << "S" << "k" << "v ;c";
    QTest::newRow("hash is ordinary") << QByteArray("[S]\r\n#k=v\r\n") << "S" << "#k" << "v";
    QTest::newRow("double quotes removed") << QByteArray("[S]\r\nk= \" a \"\r\n") << "S" << "k" << " a ";
    QTest::newRow("single quotes removed") << QByteArray("[S]\r\nk='a'\r\n") << "S" << "k" << "a";
    QTest::newRow("mismatched quotes kept") << QByteArray("[S]\r\nk=\"a'\r\n") << "S" << "k" << "\"a'";
    QTest::newRow("one quote kept") << QByteArray("[S]\r\nk=\"\r\n") << "S" << "k" << "\"";
    QTest::newRow("only the outer pair") << QByteArray("[S]\r\nk=\"\"a\"\"\r\n") << "S" << "k" << "\"a\"";
    QTest::newRow("equals in value") << QByteArray("[S]\r\nk=a=b\r\n") << "S" << "k" << "a=b";
    QTest::newRow("empty value") << QByteArray("[S]\r\nk=\r\n") << "S" << "k" << "";
    QTest::newRow("empty key name") << QByteArray("[S]\r\n=v\r\n") << "S" << "" << "v";
    QTest::newRow("line without equals is no key") << QByteArray("[S]\r\nname3\r\n") << "S" << "name3" << missing;
    QTest::newRow("before the first section unreachable") << QByteArray("k=1\r\n[S]\r\n") << "" << "k" << missing;
    QTest::newRow("empty section name is real") << QByteArray("[]\r\nk=1\r\n") << "" << "k" << "1";
    QTest::newRow("first section of a name wins") << QByteArray("[S]\r\n[S]\r\nk=1\r\n") << "S" << "k" << missing;
    QTest::newRow("first copy of a key wins") << QByteArray("[S]\r\nk=1\r\nK=2\r\n") << "S" << "k" << "1";
    QTest::newRow("blank lines ignored") << QByteArray("\r\n[S]\r\n\r\n\r\nk=v\r\n") << "S" << "k" << "v";
    QTest::newRow("caller section spaces stripped") << QByteArray("[S]\r\nk=v\r\n") << " S " << " k " << "v";
    QTest::newRow("caller tab not stripped") << QByteArray("[S]\r\nk=v\r\n") << "S\t" << "k" << missing;
    QTest::newRow("missing section") << QByteArray("[S]\r\nk=v\r\n") << "T" << "k" << missing;
    QTest::newRow("missing key") << QByteArray("[S]\r\nk=v\r\n") << "S" << "j" << missing;
    QTest::newRow("utf-8 file") << QByteArray("[S]\r\nk=" + pesnya.toUtf8() + "\r\n") << "S" << "k" << pesnya;
    QTest::newRow("utf-8 file with bom") << QByteArray("\xEF\xBB\xBF[S]\r\nk=" + pesnya.toUtf8() + "\r\n") << "S"
                                         << "k" << pesnya;
    QTest::newRow("utf-16le file with bom")
        << QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(u"[S]\r\nk=Песня\r\n"), 28)
        << "S" << "k" << pesnya;
    QTest::newRow("broken utf-8 is windows-1251")
        << QByteArray("[S]\r\nk=" + pesnya1251 + "\r\nj=\xD0\x9F\r\n") << "S" << "j" << QString::fromUtf8("Рџ");
    QTest::newRow("nul bytes kept in other lines") << QByteArray("[S]\r\nx=\0\r\nk=v\r\n", 15) << "S" << "k" << "v";
}

void TestIniReading::readsKitsAsWindowsUsersWriteThem()
{
    // A hand-edited kit reads as the Windows profile functions read it.
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    TempDrive drive;
    drive.write(QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk"), file);
    ProfileStore store(drive.paths());
    const IniFile kit(store, QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk"));
    QCOMPARE(kit.readString(section, key, missing), expected);
}

void TestIniReading::cutsLongValuesAt2047Characters()
{
    // A value longer than 2047 characters is read cut to its first 2047.
    TempDrive drive;
    const QByteArray value(5000, 'x');
    drive.write(QStringLiteral("C:\\k.qbk"), "[S]\r\nk=" + value + "y\r\nj=" + QByteArray(2047, 'z') + "\r\n");
    ProfileStore store(drive.paths());
    const IniFile kit(store, QStringLiteral("C:\\k.qbk"));
    QCOMPARE(kit.readString(u"S", u"k", QString()), QString(2047, u'x'));
    QCOMPARE(kit.readString(u"S", u"j", QString()), QString(2047, u'z'));
}

void TestIniReading::readsIntegersAsDelphiDoes_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("expected");

    QTest::newRow("decimal") << QByteArray("75") << 75;
    QTest::newRow("leading space") << QByteArray(" 12") << 12;
    QTest::newRow("negative") << QByteArray("-5") << -5;
    QTest::newRow("plus sign") << QByteArray("+5") << 5;
    QTest::newRow("hex 0x") << QByteArray("0x32") << 50;
    QTest::newRow("hex 0X") << QByteArray("0X32") << 50;
    QTest::newRow("hex dollar") << QByteArray("$32") << 50;
    QTest::newRow("hex all bits") << QByteArray("$FFFFFFFF") << -1;
    QTest::newRow("trailing junk") << QByteArray("12abc") << 50;
    QTest::newRow("not a number") << QByteArray("abc") << 50;
    QTest::newRow("empty") << QByteArray("") << 50;
    QTest::newRow("sign only") << QByteArray("-") << 50;
    QTest::newRow("prefix only") << QByteArray("0x") << 50;
    QTest::newRow("too large") << QByteArray("99999999999") << 50;
    QTest::newRow("int max") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("int min") << QByteArray("-2147483648") << int(-2147483647 - 1);
    QTest::newRow("past int max") << QByteArray("2147483648") << 50;
    QTest::newRow("hex too large") << QByteArray("$100000000") << 50;
    QTest::newRow("decimal point") << QByteArray("1.5") << 50;
    QTest::newRow("quoted") << QByteArray("\"7\"") << 7;
}

void TestIniReading::readsIntegersAsDelphiDoes()
{
    // Integers: decimal, or hexadecimal after 0x, 0X or $; anything else gives the default.
    QFETCH(QByteArray, stored);
    QFETCH(int, expected);
    TempDrive drive;
    drive.write(QStringLiteral("C:\\k.qbk"), "[Section1]\r\nVol1=" + stored + "\r\n");
    ProfileStore store(drive.paths());
    QCOMPARE(IniFile(store, QStringLiteral("C:\\k.qbk")).readInteger(u"Section1", u"Vol1", 50), expected);
}

void TestIniReading::missingFileGivesDefaults()
{
    // A missing file, or a folder where the file should be, reads as defaults without an error.
    TempDrive drive;
    drive.makeFolder(QStringLiteral("C:\\folder.qbk"));
    ProfileStore store(drive.paths());
    QCOMPARE(IniFile(store, QStringLiteral("C:\\none.qbk")).readString(u"S", u"k", QStringLiteral("Song-7")),
             QStringLiteral("Song-7"));
    QCOMPARE(IniFile(store, QStringLiteral("C:\\folder.qbk")).readInteger(u"S", u"k", 50), 50);
    QCOMPARE(IniFile(store, QStringLiteral("C:\\none.qbk")).readString(u"S", u"k", QStringLiteral("a b  ")),
             QStringLiteral("a b"));
}

QTEST_GUILESS_MAIN(TestIniReading)
#include "tst_inireading.moc"
