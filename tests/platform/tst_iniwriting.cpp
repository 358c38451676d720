#include "platform/inifile.h"
#include "platform/platformerror.h"
#include "support/tempdrive.h"

#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/time.h>
#include <unistd.h>

using platform::IniFile;
using platform::PlatformError;
using platform::ProfileStore;

namespace {
const QString kitName = QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk");
const QByteArray pesnya1251 = QByteArray::fromHex("cfe5f1edff");
const QString pesnya = QString::fromUtf8("Песня");

mode_t modeOf(const QString &host)
{
    struct stat st;
    ::stat(QFile::encodeName(host).constData(), &st);
    return st.st_mode & 07777;
}

// Puts a file's change stamps far in the past, as for a kit made long ago.
void age(const QString &host)
{
    const timeval old[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimes(QFile::encodeName(host).constData(), old);
}
} // namespace

class TestIniWriting : public QObject
{
    Q_OBJECT

private slots:
    void editsFilesAsWindowsDoes_data();
    void editsFilesAsWindowsDoes();
    void keepsTheFileEncoding_data();
    void keepsTheFileEncoding();
    void writesIntegersInDecimal();
    void refusedWritesLeaveTheFileAsItWas_data();
    void refusedWritesLeaveTheFileAsItWas();
    void fullDiskLeavesTheFileAsItWas();
    void bareNameGoesToTheWindowsDirectory();
    void keepsPermissionsAndFollowsLinks();
    void seesChangesMadeByOtherPrograms();
    void doesNotParseAnUnchangedFileAgain();
};

void TestIniWriting::editsFilesAsWindowsDoes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << QByteArray() << "Option" << "File" << "C:\\a.qbk"
                              << QByteArray("[Option]\r\nFile=C:\\a.qbk\r\n");
    QTest::newRow("existing key rewritten in its own spelling")
        << QByteArray("[Section1]\r\nBUTTON1=old\r\nVol1=5\r\n") << "section1" << "Button1" << "new"
        << QByteArray("[Section1]\r\nBUTTON1=new\r\nVol1=5\r\n");
    QTest::newRow("spacing before the equals kept")
        << QByteArray("[S]\r\n  k = old \r\n") << "S" << "k" << "v" << QByteArray("[S]\r\n  k =v\r\n");
    QTest::newRow("new key after the last key, before comments")
        << QByteArray("[S]\r\nb=1\r\n;c\r\na=1\r\n;tail\r\n\r\n[T]\r\n") << "S" << "z" << "2"
        << QByteArray("[S]\r\nb=1\r\n;c\r\na=1\r\nz=2\r\n;tail\r\n\r\n[T]\r\n");
    QTest::newRow("new key in a section without keys")
        << QByteArray("[S]\r\n[T]\r\nk=1\r\n") << "S" << "k" << "2" << QByteArray("[S]\r\nk=2\r\n[T]\r\nk=1\r\n");
    QTest::newRow("new section appended without a blank line")
        << QByteArray("[S]\r\nk=1\r\n") << "T" << "k" << "2" << QByteArray("[S]\r\nk=1\r\n[T]\r\nk=2\r\n");
    QTest::newRow("line end added to a last line without one")
        << QByteArray("[S]\r\nk=1") << "T" << "k" << "2" << QByteArray("[S]\r\nk=1\r\n[T]\r\nk=2\r\n");
    QTest::newRow("new key after a last line without line end")
        << QByteArray("[S]\r\nk=1") << "S" << "j" << "2" << QByteArray("[S]\r\nk=1\r\nj=2\r\n");
    QTest::newRow("other lines keep their bytes and line ends")
        << QByteArray("junk before\n[S]\rk=1\n;c\r\nx\0y\r\n", 29) << "S" << "k" << "2"
        << QByteArray("junk before\n[S]\rk=2\n;c\r\nx\0y\r\n", 29);
    QTest::newRow("first of duplicate sections edited")
        << QByteArray("[S]\r\nk=1\r\n[s]\r\nk=2\r\n") << "S" << "k" << "3" << QByteArray("[S]\r\nk=3\r\n[s]\r\nk=2\r\n");
    QTest::newRow("names lose their spaces") << QByteArray() << " S " << " k " << " v "
                                             << QByteArray("[S]\r\nk= v \r\n");
    QTest::newRow("empty value") << QByteArray("[S]\r\nk=1\r\n") << "S" << "k" << "" << QByteArray("[S]\r\nk=\r\n");
    QTest::newRow("line breaks in a value would break the file")
        << QByteArray() << "S" << "k" << "a\r\n[X]\nb" << QByteArray("[S]\r\nk=a  [X] b\r\n");
    QTest::newRow("cyrillic value in windows-1251") << QByteArray("[S]\r\n") << "S" << "k" << pesnya
                                                    << QByteArray("[S]\r\nk=" + pesnya1251 + "\r\n");
}

void TestIniWriting::editsFilesAsWindowsDoes()
{
    // A write changes one line as the Windows profile functions do and leaves every other byte.
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    TempDrive drive;
    drive.makeFolder(QStringLiteral("C:\\KARVEL\\TEMES"));
    if (!before.isNull())
        drive.write(kitName, before);
    ProfileStore store(drive.paths());
    IniFile(store, kitName).writeString(section, key, value);
    QCOMPARE(drive.read(kitName), after);
    QCOMPARE(IniFile(store, kitName).readString(section, key, QStringLiteral("<none>")),
             QString(value).replace(u'\r', u' ').replace(u'\n', u' ').trimmed());
}

void TestIniWriting::keepsTheFileEncoding_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QByteArray utf8Line = "t=" + pesnya.toUtf8() + "\r\n";
    QTest::newRow("ansi stays ansi") << QByteArray("[S]\r\nt=" + pesnya1251 + "\r\n") << pesnya
                                     << QByteArray("[S]\r\nt=" + pesnya1251 + "\r\nk=" + pesnya1251 + "\r\n");
    QTest::newRow("utf-8 stays utf-8") << QByteArray("[S]\r\n" + utf8Line) << pesnya
                                       << QByteArray("[S]\r\n" + utf8Line + "k=" + pesnya.toUtf8() + "\r\n");
    QTest::newRow("utf-8 bom stays") << QByteArray("\xEF\xBB\xBF[S]\r\n" + utf8Line) << QStringLiteral("x")
                                     << QByteArray("\xEF\xBB\xBF[S]\r\n" + utf8Line + "k=x\r\n");
    QTest::newRow("a character windows-1251 lacks turns the file into utf-8")
        << QByteArray("[S]\r\nt=" + pesnya1251 + "\r\n") << QString::fromUtf8("日本")
        << QByteArray("[S]\r\n" + utf8Line + "k=" + QString::fromUtf8("日本").toUtf8() + "\r\n");
    QTest::newRow("utf-16le stays utf-16le")
        << QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(u"[S]\r\n"), 10) << pesnya
        << QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(u"[S]\r\nk=Песня\r\n"), 28);
}

void TestIniWriting::keepsTheFileEncoding()
{
    // A file is written back in its own encoding, and no character is ever lost.
    QFETCH(QByteArray, before);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    TempDrive drive;
    drive.write(kitName, before);
    ProfileStore store(drive.paths());
    IniFile(store, kitName).writeString(u"S", u"k", value);
    QCOMPARE(drive.read(kitName), after);
    QCOMPARE(IniFile(store, kitName).readString(u"S", u"k", QString()), value);
}

void TestIniWriting::writesIntegersInDecimal()
{
    // Integers are written in decimal and read back.
    TempDrive drive;
    ProfileStore store(drive.paths());
    const IniFile kit(store, QStringLiteral("C:\\k.qbk"));
    kit.writeInteger(u"Section1", u"Vol1", -17);
    kit.writeInteger(u"Section1", u"Vol2", 100);
    QCOMPARE(drive.read(QStringLiteral("C:\\k.qbk")), QByteArray("[Section1]\r\nVol1=-17\r\nVol2=100\r\n"));
    QCOMPARE(kit.readInteger(u"Section1", u"Vol1", 50), -17);
}

void TestIniWriting::refusedWritesLeaveTheFileAsItWas_data()
{
    QTest::addColumn<QString>("case_");
    QTest::newRow("missing folder") << "missing folder";
    QTest::newRow("read-only file") << "read-only file";
    QTest::newRow("read-only folder") << "read-only folder";
    QTest::newRow("unreadable file") << "unreadable file";
    QTest::newRow("a folder of that name") << "folder";
    QTest::newRow("unmapped drive") << "unmapped drive";
}

void TestIniWriting::refusedWritesLeaveTheFileAsItWas()
{
    // A refused write says "Unable to write to" with the name as given and changes nothing.
    QFETCH(QString, case_);
    TempDrive drive;
    QString name = QStringLiteral("C:\\KITS\\Rock.qbk");
    const QByteArray before("[S]\r\nk=1\r\n");
    drive.write(name, before);
    const QString host = drive.host(name);
    const QString folder = drive.host(QStringLiteral("C:\\KITS"));
    if (case_ == u"missing folder")
        name = QStringLiteral("C:\\NOWHERE\\Rock.qbk");
    else if (case_ == u"read-only file")
        ::chmod(QFile::encodeName(host).constData(), 0444);
    else if (case_ == u"read-only folder")
        ::chmod(QFile::encodeName(folder).constData(), 0555);
    else if (case_ == u"unreadable file")
        ::chmod(QFile::encodeName(host).constData(), 0200);
    else if (case_ == u"folder")
        name = QStringLiteral("C:\\KITS");
    else if (case_ == u"unmapped drive")
        name = QStringLiteral("Q:\\Rock.qbk");
    if (case_ == u"unreadable file" && ::geteuid() == 0)
        QSKIP("root reads every file");

    ProfileStore store(drive.paths());
    try {
        IniFile(store, name).writeString(u"S", u"k", QStringLiteral("2"));
        QFAIL("the write was not refused");
    } catch (const PlatformError &error) {
        QCOMPARE(error.text(), QStringLiteral("Unable to write to ") + name);
    }
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    ::chmod(QFile::encodeName(host).constData(), 0644);
    QCOMPARE(drive.read(QStringLiteral("C:\\KITS\\Rock.qbk")), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Rock.qbk")});
}

void TestIniWriting::fullDiskLeavesTheFileAsItWas()
{
    // A disk that fills up during a write: the write is refused and the kit keeps its old bytes.
    TempDrive drive;
    const QByteArray before = "[S]\r\nk=1\r\n" + QByteArray(4000, 'x') + "=y\r\n";
    drive.write(kitName, before);
    // A child process whose files may not grow past 1 KB stands for a full disk.
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ProfileStore store(drive.paths());
        try {
            IniFile(store, kitName).writeString(u"S", u"k", QStringLiteral("2"));
        } catch (const PlatformError &error) {
            ::_exit(error.text() == QStringLiteral("Unable to write to ") + kitName ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(drive.read(kitName), before);
    QCOMPARE(QDir(QFileInfo(drive.host(kitName)).absolutePath()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("First.qbk")});
}

void TestIniWriting::bareNameGoesToTheWindowsDirectory()
{
    // "pelcor.ini" without a folder is the file in C:\WINDOWS, found there without regard to case.
    TempDrive drive;
    drive.makeFolder(QStringLiteral("C:\\windows"));
    ProfileStore store(drive.paths());
    IniFile(store, QStringLiteral("pelcor.ini")).writeString(u"OptionS", u"CheckBoxNoTxt", QStringLiteral("OFF"));
    QCOMPARE(drive.read(QStringLiteral("C:\\windows\\pelcor.ini")), QByteArray("[OptionS]\r\nCheckBoxNoTxt=OFF\r\n"));
    QCOMPARE(IniFile(store, QStringLiteral("C:\\WINDOWS\\PELCOR.INI")).readString(u"optionS", u"checkboxnotxt", {}),
             QStringLiteral("OFF"));
}

void TestIniWriting::keepsPermissionsAndFollowsLinks()
{
    // The replaced file keeps its permissions; a link to a kit stays a link and its target changes.
    TempDrive drive;
    drive.write(QStringLiteral("C:\\real\\Kit.qbk"), "[S]\r\nk=1\r\n");
    const QString target = drive.host(QStringLiteral("C:\\real\\Kit.qbk"));
    ::chmod(QFile::encodeName(target).constData(), 0640);
    drive.makeFolder(QStringLiteral("C:\\links"));
    const QString link = drive.host(QStringLiteral("C:\\links\\Kit.qbk"));
    QVERIFY(QFile::link(QStringLiteral("../real/Kit.qbk"), link));

    ProfileStore store(drive.paths());
    IniFile(store, QStringLiteral("C:\\links\\Kit.qbk")).writeString(u"S", u"k", QStringLiteral("2"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(drive.read(QStringLiteral("C:\\real\\Kit.qbk")), QByteArray("[S]\r\nk=2\r\n"));
    QCOMPARE(modeOf(target), mode_t(0640));
}

void TestIniWriting::seesChangesMadeByOtherPrograms()
{
    // Another program's change between two reads is seen, even one that keeps size and time.
    TempDrive drive;
    drive.write(kitName, "[S]\r\nk=aaaa\r\n");
    const QString host = drive.host(kitName);
    age(host);
    ProfileStore store(drive.paths());
    const IniFile kit(store, kitName);
    QCOMPARE(kit.readString(u"S", u"k", {}), QStringLiteral("aaaa"));

    // Written in place with the same size, and its modification time put back.
    QFile file(host);
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(7);
    file.write("bbbb");
    file.close();
    age(host);
    QCOMPARE(kit.readString(u"S", u"k", {}), QStringLiteral("bbbb"));

    // Replaced by a rename, as editors save.
    drive.write(kitName + QStringLiteral(".new"), "[S]\r\nk=cccc\r\n");
    QVERIFY(::rename(QFile::encodeName(drive.host(kitName + QStringLiteral(".new"))).constData(),
                     QFile::encodeName(host).constData()) == 0);
    age(host);
    QCOMPARE(kit.readString(u"S", u"k", {}), QStringLiteral("cccc"));

    // Written twice within one tick of the clock: the bytes are compared while changes are fresh.
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(7);
    file.write("dddd");
    file.close();
    QCOMPARE(kit.readString(u"S", u"k", {}), QStringLiteral("dddd"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(7);
    file.write("eeee");
    file.close();
    QCOMPARE(kit.readString(u"S", u"k", {}), QStringLiteral("eeee"));

    QFile::remove(host);
    QCOMPARE(kit.readString(u"S", u"k", QStringLiteral("gone")), QStringLiteral("gone"));
}

void TestIniWriting::doesNotParseAnUnchangedFileAgain()
{
    // Reading the 100 keys of a board reload parses an unchanged kit once; our own write needs none.
    TempDrive drive;
    QByteArray text = "[Section1]\r\n";
    for (int n = 1; n <= 50; ++n)
        text += "Button" + QByteArray::number(n) + "=Song " + QByteArray::number(n) + "\r\nIcon" +
                QByteArray::number(n) + "=-\r\n";
    drive.write(kitName, text);
    age(drive.host(kitName));
    ProfileStore store(drive.paths());
    const IniFile kit(store, kitName);
    for (int n = 1; n <= 50; ++n) {
        QCOMPARE(kit.readString(u"Section1", QStringLiteral("Button%1").arg(n), {}), QStringLiteral("Song %1").arg(n));
        QCOMPARE(kit.readString(u"Section1", QStringLiteral("Icon%1").arg(n), {}), QStringLiteral("-"));
    }
    QCOMPARE(store.parseCount(), 1);
    kit.writeString(u"Section1", u"Button1", QStringLiteral("Rain"));
    QCOMPARE(kit.readString(u"Section1", u"Button1", {}), QStringLiteral("Rain"));
    QCOMPARE(store.parseCount(), 1);
}

QTEST_GUILESS_MAIN(TestIniWriting)
#include "tst_iniwriting.moc"
