#include "kit/kitformat.h"
#include "platform/inifile.h"
#include "support/tempdrive.h"

#include <QTest>

using platform::IniFile;
using platform::ProfileStore;

class TestKitFormat : public QObject
{
    Q_OBJECT

private slots:
    void namesKeysWithoutLeadingZeros_data();
    void namesKeysWithoutLeadingZeros();
    void kitWithOnlyItsOptionReadsAsDefaults();
    void readsHandEditedKitNames();
    void pathValuesNameFilesOnlyWhenTheyExist_data();
    void pathValuesNameFilesOnlyWhenTheyExist();
};

void TestKitFormat::namesKeysWithoutLeadingZeros_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("section") << kit::sectionName(7) << "Section7";
    QTest::newRow("caption") << kit::songKeys(5).caption << "Button5";
    QTest::newRow("text") << kit::songKeys(12).text << "Text12";
    QTest::newRow("song") << kit::songKeys(50).song << "Song50";
    QTest::newRow("icon") << kit::songKeys(1).icon << "Icon1";
    QTest::newRow("volume") << kit::songKeys(7).volume << "Vol7";
    QTest::newRow("theme caption") << kit::themeKeys(20).caption << "Button20";
    QTest::newRow("theme icon") << kit::themeKeys(3).icon << "Icon3";
    QTest::newRow("song default") << kit::defaultSongCaption(7) << "Song-7";
    QTest::newRow("theme default") << kit::defaultThemeCaption(12) << "Artist-12";
}

void TestKitFormat::namesKeysWithoutLeadingZeros()
{
    // Section and key names carry their number in decimal without leading zeros.
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(name, expected);
}

void TestKitFormat::kitWithOnlyItsOptionReadsAsDefaults()
{
    // A kit holding only its Option entry gives every reader its own defaults.
    TempDrive drive;
    drive.write(kit::folders::DefaultKit, "[Option]\r\nFile=C:\\KARVEL\\TEMES\\First.qbk\r\n");
    ProfileStore store(drive.paths());
    const IniFile file(store, kit::folders::DefaultKit);
    for (int theme = 1; theme <= kit::ThemeCount; ++theme) {
        const kit::ThemeDefaults board = kit::boardThemeDefaults(theme);
        QCOMPARE(file.readString(kit::ThemeSection, kit::themeKeys(theme).caption, board.caption),
                 QStringLiteral("Artist-%1").arg(theme));
    }
    for (int song = 1; song <= kit::SongCount; ++song) {
        const kit::SongDefaults board = kit::boardSongDefaults(song);
        QCOMPARE(file.readString(kit::sectionName(1), kit::songKeys(song).caption, board.caption),
                 QStringLiteral("Song-%1").arg(song));
    }
    const kit::SongDefaults activation = kit::activationSongDefaults();
    QCOMPARE(file.readString(kit::sectionName(1), kit::songKeys(3).caption, activation.caption), QStringLiteral("No Name"));
    QCOMPARE(file.readString(kit::sectionName(1), kit::songKeys(3).text, activation.text),
             QStringLiteral("C:\\KARVEL\\NoRtf.rtf"));
    QCOMPARE(file.readString(kit::sectionName(1), kit::songKeys(3).song, activation.song), QString());
    QCOMPARE(file.readInteger(kit::sectionName(1), kit::songKeys(3).volume, activation.volume), 50);
    QCOMPARE(kit::editorThemeDefaults(4).icon, QStringLiteral("C:\\KARVEL\\NoIcoT.bmp"));
    QCOMPARE(kit::editorSongDefaults(4).text, QStringLiteral("-"));
}

void TestKitFormat::readsHandEditedKitNames()
{
    // Section and key names that differ in case are found; 0x32 reads as 50 and abc as the default.
    TempDrive drive;
    drive.write(kit::folders::DefaultKit, "[section3]\r\nBUTTON4=Dance\r\nvol4=0x32\r\nVOL5=abc\r\n");
    ProfileStore store(drive.paths());
    const IniFile file(store, kit::folders::DefaultKit);
    QCOMPARE(file.readString(kit::sectionName(3), kit::songKeys(4).caption, {}), QStringLiteral("Dance"));
    QCOMPARE(file.readInteger(kit::sectionName(3), kit::songKeys(4).volume, 50), 50);
    QCOMPARE(file.readInteger(kit::sectionName(3), kit::songKeys(5).volume, 50), 50);
    QCOMPARE(file.readInteger(kit::sectionName(3), kit::songKeys(5).volume, 77), 77);
}

void TestKitFormat::pathValuesNameFilesOnlyWhenTheyExist_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("namesFile");
    QTest::newRow("no file") << "-" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("missing file") << "C:\\KARVEL\\ICONS\\gone.bmp" << false;
    QTest::newRow("a folder") << "C:\\KARVEL\\ICONS" << false;
    QTest::newRow("existing file, other case") << "C:\\karvel\\icons\\NOTE.bmp" << true;
}

void TestKitFormat::pathValuesNameFilesOnlyWhenTheyExist()
{
    // "-", an empty value and a path to a missing file all mean that there is no file.
    QFETCH(QString, value);
    QFETCH(bool, namesFile);
    TempDrive drive;
    drive.write(QStringLiteral("C:\\KARVEL\\ICONS\\note.bmp"), "BM");
    QCOMPARE(kit::namesFile(drive.paths(), value), namesFile);
}

QTEST_GUILESS_MAIN(TestKitFormat)
#include "tst_kitformat.moc"
