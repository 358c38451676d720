#include "platform/codepage.h"
#include "platform/winpath.h"
#include "support/tempdrive.h"

#include <QDir>
#include <QTest>

using platform::WinPath;

class TestWinPath : public QObject
{
    Q_OBJECT

private slots:
    void mapsDrivesFromTheEnvironment();
    void findsNamesWithoutRegardToCase_data();
    void findsNamesWithoutRegardToCase();
    void findsCyrillicNamesStoredInWindows1251();
    void hostPathsComeBackAsWindowsPaths_data();
    void hostPathsComeBackAsWindowsPaths();
    void onlyRegularFilesExist();
    void bareNamesLieInTheWindowsDirectory();
    void splitsNameAndFolder_data();
    void splitsNameAndFolder();
};

void TestWinPath::mapsDrivesFromTheEnvironment()
{
    // C: lies under the data home and Z: is the root, unless a KARVEL_DRIVE_ variable says otherwise.
    qputenv("XDG_DATA_HOME", "/data/home");
    qunsetenv("KARVEL_DRIVE_C");
    qunsetenv("KARVEL_DRIVE_Z");
    qputenv("KARVEL_DRIVE_D", "/media/stick/");
    const WinPath defaults = WinPath::fromEnvironment();
    QCOMPARE(defaults.driveFolder(u'C'), QStringLiteral("/data/home/karvel/drive_c"));
    QCOMPARE(defaults.driveFolder(u'z'), QStringLiteral("/"));
    QCOMPARE(defaults.driveFolder(u'D'), QStringLiteral("/media/stick"));
    QCOMPARE(defaults.driveFolder(u'E'), std::nullopt);

    qputenv("KARVEL_DRIVE_C", "/srv/kits");
    qputenv("KARVEL_DRIVE_Z", "");
    const WinPath overridden = WinPath::fromEnvironment();
    QCOMPARE(overridden.driveFolder(u'C'), QStringLiteral("/srv/kits"));
    QCOMPARE(overridden.driveFolder(u'Z'), std::nullopt);
    QCOMPARE(overridden.toHost(QStringLiteral("Z:\\etc")), QString());
    qunsetenv("KARVEL_DRIVE_C");
    qunsetenv("KARVEL_DRIVE_D");
    qunsetenv("KARVEL_DRIVE_Z");
}

void TestWinPath::findsNamesWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("windowsPath");
    QTest::addColumn<QString>("hostTail");

    QTest::newRow("exact") << "C:\\KARVEL\\SONGS\\a.mp3" << "/KARVEL/SONGS/a.mp3";
    QTest::newRow("other case") << "C:\\karvel\\Songs\\A.MP3" << "/KARVEL/SONGS/a.mp3";
    QTest::newRow("forward slashes") << "c:/KARVEL/songs/a.mp3" << "/KARVEL/SONGS/a.mp3";
    QTest::newRow("doubled and trailing separators") << "C:\\\\KARVEL\\SONGS\\\\a.mp3" << "/KARVEL/SONGS/a.mp3";
    QTest::newRow("dot and dot-dot") << "C:\\KARVEL\\TEXTS\\..\\.\\songs\\a.mp3" << "/KARVEL/SONGS/a.mp3";
    QTest::newRow("dot-dot above the root stays at the root") << "C:\\..\\..\\KARVEL" << "/KARVEL";
    QTest::newRow("missing tail kept as given") << "C:\\karvel\\New\\Kit.QBK" << "/KARVEL/New/Kit.QBK";
    QTest::newRow("drive root") << "C:\\" << "";
}

void TestWinPath::findsNamesWithoutRegardToCase()
{
    // A kit from Windows finds its files whatever the letter case of its paths.
    QFETCH(QString, windowsPath);
    QFETCH(QString, hostTail);
    TempDrive drive;
    drive.write(QStringLiteral("C:\\KARVEL\\SONGS\\a.mp3"), "x");
    QCOMPARE(drive.paths().toHost(windowsPath), drive.root() + hostTail);
}

void TestWinPath::findsCyrillicNamesStoredInWindows1251()
{
    // A file name stored in a kit as Windows-1251 bytes finds the UTF-8 name on disk, in any case.
    TempDrive drive;
    drive.write(QString::fromUtf8("C:\\KARVEL\\SONGS\\Песня.wav"), "x");
    const platform::CodePage ansi;
    const QString fromKit = ansi.decode(QByteArray("C:\\KARVEL\\SONGS\\\xcf\xc5\xd1\xcd\xdf.WAV")); // ПЕСНЯ.WAV
    QVERIFY(drive.paths().fileExists(fromKit));
    QCOMPARE(drive.paths().toHost(fromKit), drive.root() + QString::fromUtf8("/KARVEL/SONGS/Песня.wav"));
}

void TestWinPath::hostPathsComeBackAsWindowsPaths_data()
{
    QTest::addColumn<QString>("hostTail");
    QTest::addColumn<QString>("expected");
    QTest::newRow("file on drive C") << "/KARVEL/TEXTS/rain.rtf" << "C:\\KARVEL\\TEXTS\\rain.rtf";
    QTest::newRow("drive C itself") << "" << "C:\\";
    QTest::newRow("drive D inside drive C wins by length") << "/media/stick/x.mp3" << "D:\\x.mp3";
    QTest::newRow("outside every drive but Z") << "/../outside/x.mp3" << "Z:<root>\\outside\\x.mp3";
}

void TestWinPath::hostPathsComeBackAsWindowsPaths()
{
    // A path a file dialog returns is named under the drive whose folder holds it, else under Z:.
    QFETCH(QString, hostTail);
    QFETCH(QString, expected);
    TempDrive drive;
    WinPath &paths = drive.paths();
    paths.mapDrive(u'D', drive.root() + QStringLiteral("/media/stick"));
    paths.mapDrive(u'Z', QStringLiteral("/"));
    QString parent = QDir::cleanPath(drive.root() + QStringLiteral("/.."));
    expected.replace(QStringLiteral("<root>"), QString(parent).replace(u'/', u'\\'));
    QCOMPARE(paths.toWindows(drive.root() + hostTail), expected);
}

void TestWinPath::onlyRegularFilesExist()
{
    // FileExists is true for a regular file only; a folder, "-" and an empty path are no file.
    TempDrive drive;
    drive.write(QStringLiteral("C:\\KARVEL\\NoIcoS.bmp"), "BM");
    const WinPath &paths = drive.paths();
    QVERIFY(paths.fileExists(QStringLiteral("C:\\KARVEL\\noicos.BMP")));
    QVERIFY(!paths.fileExists(QStringLiteral("C:\\KARVEL")));
    QVERIFY(paths.directoryExists(QStringLiteral("c:\\karvel")));
    QVERIFY(!paths.fileExists(QStringLiteral("-")));
    QVERIFY(!paths.fileExists(QString()));
    QVERIFY(!paths.fileExists(QStringLiteral("\\\\server\\share\\a.mp3")));
    QVERIFY(!paths.fileExists(QStringLiteral("Q:\\KARVEL\\NoIcoS.bmp")));
}

void TestWinPath::bareNamesLieInTheWindowsDirectory()
{
    // A bare file name lies in C:\WINDOWS for the profile functions; a name with a folder is kept.
    QCOMPARE(WinPath::profilePath(QStringLiteral("pelcor.ini")), QStringLiteral("C:\\WINDOWS\\pelcor.ini"));
    QCOMPARE(WinPath::profilePath(QStringLiteral("C:\\x\\pelcor.ini")), QStringLiteral("C:\\x\\pelcor.ini"));
    QCOMPARE(WinPath::profilePath(QStringLiteral(".\\pelcor.ini")), QStringLiteral(".\\pelcor.ini"));
    QCOMPARE(WinPath::windowsDirectory(), QStringLiteral("C:\\WINDOWS"));
}

void TestWinPath::splitsNameAndFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::newRow("kit") << "C:\\KARVEL\\TEMES\\First.qbk" << "First.qbk" << "C:\\KARVEL\\TEMES";
    QTest::newRow("forward slashes") << "C:/a/b.qbk" << "b.qbk" << "C:/a";
    QTest::newRow("at the root") << "C:\\b.qbk" << "b.qbk" << "C:\\";
    QTest::newRow("drive relative") << "C:b.qbk" << "b.qbk" << "C:";
    QTest::newRow("bare") << "b.qbk" << "b.qbk" << "";
}

void TestWinPath::splitsNameAndFolder()
{
    // The name after the last separator, and the folder before it.
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QCOMPARE(WinPath::fileName(path), name);
    QCOMPARE(WinPath::folder(path), folder);
}

QTEST_GUILESS_MAIN(TestWinPath)
#include "tst_winpath.moc"
