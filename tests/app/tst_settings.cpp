#include "kit/kitformat.h"
#include "platform/speedbutton/speedbutton.h"
#include "support/programfixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString settingsPath = QStringLiteral("C:\\WINDOWS\\pelcor.ini");

QColor windowColour(const TBaseForm &form) { return form.palette().color(QPalette::Window); }

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void firstStartIsAlmostBlackAndStoresOff();
    void readsStoredSettings_data();
    void readsStoredSettings();
    void colourBarsRecolourAtOnceAndAreSavedAtShutdown();
    void shutdownKeepsTheLastKitWhenItIsGone();
    void settingsThatCannotBeWrittenEndTheHandler();
    void optionsPanelShowsTheDiskFigures();
    void gigabyteFigures_data();
    void gigabyteFigures();
    void playFromStartButtonFollowsItsOption();
};

void TestSettings::firstStartIsAlmostBlackAndStoresOff()
{
    // Without pelcor.ini: colour 1, 2, 3, the text-pane option off and stored as OFF at once, the default kit tried.
    ProgramFixture f;
    f.start();
    QCOMPARE(windowColour(f.base()), QColor(1, 2, 3));
    QCOMPARE(f.find<QScrollBar>("ScrollBarRed")->value(), 1);
    QCOMPARE(f.find<QScrollBar>("ScrollBarBlue")->value(), 3);
    QVERIFY(!f.find<QCheckBox>("CheckBoxNoTxt")->isChecked());
    QCOMPARE(f.drive.read(settingsPath), QByteArray("[OptionS]\r\nCheckBoxNoTxt=OFF\r\n"));
    QCOMPARE(f.state.KitFileName, kit::folders::DefaultKit);
    QCOMPARE(f.find<QGroupBox>("GroupBoxSong")->title(), QStringLiteral("No File  C:\\KARVEL\\TEMES\\First.qbk"));
}

void TestSettings::readsStoredSettings_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("textPane");
    QTest::addColumn<QByteArray>("optionAfter");

    QTest::newRow("as stored") << QByteArray("[COLORS]\r\nRed=10\r\nGreen=20\r\nBlue=30\r\n[OptionS]\r\nCheckBoxNoTxt=ON\r\n")
                               << QColor(10, 20, 30) << true << QByteArray("ON");
    QTest::newRow("above 255 is 255") << QByteArray("[COLORS]\r\nRed=300\r\nGreen=255\r\nBlue=0\r\n") << QColor(255, 255, 0)
                                      << false << QByteArray("OFF");
    QTest::newRow("negative is 0") << QByteArray("[COLORS]\r\nRed=-5\r\nGreen=$40\r\nBlue=0x10\r\n") << QColor(0, 64, 16)
                                   << false << QByteArray("OFF");
    QTest::newRow("lower-case on is not ON") << QByteArray("[OptionS]\r\nCheckBoxNoTxt=on\r\n") << QColor(1, 2, 3)
                                             << false << QByteArray("OFF");
    QTest::newRow("not a number") << QByteArray("[COLORS]\r\nRed=red\r\n[OptionS]\r\nCheckBoxNoTxt= ON \r\n")
                                  << QColor(1, 2, 3) << true << QByteArray(" ON ");
}

void TestSettings::readsStoredSettings()
{
    // Stored colours are clamped to 0..255; only exactly "ON" ticks the option, anything else is rewritten OFF.
    QFETCH(QByteArray, stored);
    QFETCH(QColor, colour);
    QFETCH(bool, textPane);
    QFETCH(QByteArray, optionAfter);
    ProgramFixture f;
    f.drive.write(settingsPath, stored);
    f.start();
    QCOMPARE(windowColour(f.base()), colour);
    QCOMPARE(f.find<QCheckBox>("CheckBoxNoTxt")->isChecked(), textPane);
    const QByteArray after = f.drive.read(settingsPath);
    QVERIFY2(after.contains("CheckBoxNoTxt=" + optionAfter.trimmed()) || after.contains("CheckBoxNoTxt=" + optionAfter),
             after.constData());
    f.program.reset();
    const platform::IniFile settings(f.profiles, QStringLiteral("pelcor.ini"));
    QCOMPARE(settings.readInteger(u"COLORS", u"Red", -1), colour.red());
    QCOMPARE(settings.readInteger(u"COLORS", u"Green", -1), colour.green());
    QCOMPARE(settings.readInteger(u"COLORS", u"Blue", -1), colour.blue());
}

void TestSettings::colourBarsRecolourAtOnceAndAreSavedAtShutdown()
{
    // Moving a colour bar recolours the window at once; the components are stored only at shutdown.
    ProgramFixture f;
    f.start();
    f.find<QScrollBar>("ScrollBarGreen")->setValue(200);
    QCOMPARE(windowColour(f.base()), QColor(1, 200, 3));
    QVERIFY(!f.drive.read(settingsPath).contains("Green"));
    f.program.reset();
    QCOMPARE(f.drive.read(settingsPath), QByteArray("[OptionS]\r\nCheckBoxNoTxt=OFF\r\n[COLORS]\r\nRed=1\r\nGreen=200\r\nBlue=3\r\n"));
}

void TestSettings::shutdownKeepsTheLastKitWhenItIsGone()
{
    // The last kit is stored when it exists; a kit deleted during the run leaves the stored path as it was.
    ProgramFixture f;
    f.writeKit("[Section1]\r\n", QStringLiteral("C:\\KARVEL\\TEMES\\Rock.qbk"));
    f.drive.write(settingsPath, "[LastUserFile]\r\nNameFile=C:\\KARVEL\\TEMES\\Rock.qbk\r\n");
    f.start();
    QCOMPARE(f.state.KitFileName, QStringLiteral("C:\\KARVEL\\TEMES\\Rock.qbk"));
    QCOMPARE(f.find<QGroupBox>("GroupBoxSong")->title(), QStringLiteral("C:\\KARVEL\\TEMES\\Rock.qbk"));
    f.writeKit("[Section1]\r\n", QStringLiteral("C:\\KARVEL\\TEMES\\Jazz.qbk"));
    f.state.KitFileName = QStringLiteral("C:\\KARVEL\\TEMES\\Jazz.qbk");
    QFile::remove(f.drive.host(QStringLiteral("C:\\KARVEL\\TEMES\\Jazz.qbk")));
    QLabel *status = f.find<QLabel>("LabelStatus");
    f.base().FormDestroy();
    QCOMPARE(status->text(), QStringLiteral("No User File ! "));
    const platform::IniFile settings(f.profiles, QStringLiteral("pelcor.ini"));
    QCOMPARE(settings.readString(u"LastUserFile", u"NameFile", {}), QStringLiteral("C:\\KARVEL\\TEMES\\Rock.qbk"));
}

void TestSettings::settingsThatCannotBeWrittenEndTheHandler()
{
    // A Windows folder that cannot be written: start-up ends at the OFF write; shutdown skips the rest and the mixer close.
    ProgramFixture f;
    const QByteArray folder = QFile::encodeName(f.drive.host(QStringLiteral("C:\\WINDOWS")));
    ::chmod(folder.constData(), 0555);
    f.dialogs.expectError();
    f.start();
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Unable to write to pelcor.ini")});
    QVERIFY(!f.base().TimerZast().isActive()); // the later steps of start-up did not run
    QVERIFY(!f.state.MixerReady);

    f.dialogs.expectError();
    f.program.reset();
    QCOMPARE(f.dialogs.texts().size(), 2);
    QCOMPARE(f.mixer.closeCount(), 0);
    ::chmod(folder.constData(), 0755);
}

void TestSettings::optionsPanelShowsTheDiskFigures()
{
    // The option button shows the panel with the current disk's figures, read anew at each opening.
    ProgramFixture f;
    f.system.currentDrive = {5000000123, 1000000000};
    f.start();
    auto *button = f.find<platform::SpeedButton>("SpeedButtonOption");
    QGroupBox *panel = f.find<QGroupBox>("GroupBoxOption");
    QVERIFY(panel->isHidden());
    QCOMPARE(f.find<QLabel>("LabelDiskSize")->text(), QStringLiteral("LabelDiskSize"));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!panel->isHidden());
    QCOMPARE(f.find<QLabel>("LabelDiskSize")->text(), QStringLiteral("Size  hard  disc = 5, 123 Gb"));
    QCOMPARE(f.find<QLabel>("LabelDiskFree")->text(), QStringLiteral("Free disc spase = 1, 0 Gb"));
    f.system.currentDrive = {-1, -1};
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(panel->isHidden());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(f.find<QLabel>("LabelDiskFree")->text(), QStringLiteral("Free disc spase = 0, -1 Gb"));
}

void TestSettings::gigabyteFigures_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("5 000 000 123") << qint64(5000000123) << "5, 123 Gb";
    QTest::newRow("exactly 10^9") << qint64(1000000000) << "1, 0 Gb";
    QTest::newRow("failed query") << qint64(-1) << "0, -1 Gb";
    QTest::newRow("small") << qint64(999999999) << "0, 999999999 Gb";
    QTest::newRow("large") << qint64(2000398934016) << "2000, 398934016 Gb";
}

void TestSettings::gigabyteFigures()
{
    // Disk figures are whole gigabytes of 10^9 bytes and the rest in bytes, not a decimal fraction.
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(TBaseForm::gigabytesText(bytes), text);
}

void TestSettings::playFromStartButtonFollowsItsOption()
{
    // Unticking "Visual Button Begin" hides the play-from-start button; it is ticked again at every start.
    ProgramFixture f;
    f.start();
    QCheckBox *option = f.find<QCheckBox>("CheckBoxButtonBegin");
    QVERIFY(option->isChecked());
    QVERIFY(!f.find<QWidget>("SpeedButtonBegin")->isHidden());
    option->setChecked(false);
    QVERIFY(f.find<QWidget>("SpeedButtonBegin")->isHidden());
    f.program.reset();
    f.start();
    QVERIFY(f.find<QCheckBox>("CheckBoxButtonBegin")->isChecked());
    QVERIFY(!f.find<QWidget>("SpeedButtonBegin")->isHidden());
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
