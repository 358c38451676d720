#include "kit/kitformat.h"
#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "support/programfixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

const QByteArray twoThemes = "[Section1]\r\nButton1=Rain\r\nButton2=Sun\r\n"
                             "[Section2]\r\nButton1=Jazz One\r\nButton3=Jazz Three\r\n"
                             "[TemaArtist]\r\nButton1=Rock\r\nButton2=Jazz\r\n";

QColor glyphColor(const platform::SpeedButton *button) { return button->glyph().toImage().pixelColor(4, 4); }

// Clicks a grouped button as the user does: press and release with the left mouse button.
void click(QWidget *button, Qt::MouseButton mouse = Qt::LeftButton) { QTest::mouseClick(button, mouse); }

} // namespace

class TestBoard : public QObject
{
    Q_OBJECT

private slots:
    void showsIconsAndFallbacks();
    void themeClickShowsItsSongs();
    void clickingTheDownThemeReloadsIt();
    void unloadableSongIconKeepsTheRestAsItWas();
    void unloadableThemeIconKeepsTheRestAsItWas();
    void opensAKitChosenInTheDialog();
    void cancelledKitDialogChangesNothing();
    void kitNameThatDoesNotExistGivesDefaults();
    void shortensKitNames_data();
    void shortensKitNames();
    void debugButtonOnlyReleasesTheSongButton();
    void onlyARightClickOpensTheThemeEditor();
    void newKitLoadsTheBoardWhenTheFileExists();
};

void TestBoard::showsIconsAndFallbacks()
{
    // A song or theme whose icon file exists shows it; a missing or "-" icon shows the fallback bitmap.
    ProgramFixture fixture;
    fixture.writeBitmap(QStringLiteral("C:\\KARVEL\\ICONS\\red.bmp"), Qt::red);
    fixture.writeBitmap(QStringLiteral("C:\\KARVEL\\ICONS\\blue.bmp"), Qt::blue);
    fixture.writeKit("[Section1]\r\nIcon1=C:\\karvel\\icons\\RED.BMP\r\nIcon2=-\r\nIcon3=C:\\KARVEL\\ICONS\\gone.bmp\r\n"
                     "[TemaArtist]\r\nIcon1=C:\\KARVEL\\ICONS\\blue.bmp\r\n");
    TBaseForm &form = fixture.start().BaseForm;
    QCOMPARE(glyphColor(form.SpeedButtonSong(1)), QColor(Qt::red));
    QCOMPARE(glyphColor(form.SpeedButtonSong(2)), QColor(Qt::gray));
    QCOMPARE(glyphColor(form.SpeedButtonSong(3)), QColor(Qt::gray));
    QCOMPARE(glyphColor(form.SpeedButtonSong(4)), QColor(Qt::gray));
    QCOMPARE(glyphColor(form.SpeedButtonTema(1)), QColor(Qt::blue));
    QCOMPARE(glyphColor(form.SpeedButtonTema(2)), QColor(Qt::darkGray));
    // The reload does not touch the current song's icon path.
    QCOMPARE(fixture.state.IconFileName, QStringLiteral("-"));
}

void TestBoard::themeClickShowsItsSongs()
{
    // A left click on theme 2 shows section Section2's songs and presses song button 1.
    ProgramFixture fixture;
    fixture.writeKit(twoThemes);
    TBaseForm &form = fixture.start().BaseForm;
    form.SpeedButtonSong(7)->setDown(true);
    click(form.SpeedButtonTema(2));
    QVERIFY(form.SpeedButtonTema(2)->isDown());
    QVERIFY(!form.SpeedButtonTema(1)->isDown());
    QCOMPARE(fixture.state.TemaNumber, 2);
    QCOMPARE(fixture.state.TemaEditNumber, 2);
    QCOMPARE(fixture.state.SectionName, QStringLiteral("Section2"));
    QCOMPARE(form.SpeedButtonSong(1)->text(), QStringLiteral("Jazz One"));
    QCOMPARE(form.SpeedButtonSong(2)->text(), QStringLiteral("Song-2"));
    QCOMPARE(form.SpeedButtonSong(3)->text(), QStringLiteral("Jazz Three"));
    QVERIFY(form.SpeedButtonSong(1)->isDown());
    QVERIFY(!form.SpeedButtonSong(7)->isDown());
}

void TestBoard::clickingTheDownThemeReloadsIt()
{
    // Clicking the theme button that is already down reloads its songs and presses song 1 again.
    ProgramFixture fixture;
    fixture.writeKit(twoThemes);
    TBaseForm &form = fixture.start().BaseForm;
    fixture.writeKit("[Section1]\r\nButton1=Changed\r\n");
    form.SpeedButtonSong(9)->setDown(true);
    click(form.SpeedButtonTema(1));
    QVERIFY(form.SpeedButtonTema(1)->isDown());
    QCOMPARE(form.SpeedButtonSong(1)->text(), QStringLiteral("Changed"));
    QCOMPARE(form.SpeedButtonSong(2)->text(), QStringLiteral("Song-2"));
    QVERIFY(form.SpeedButtonSong(1)->isDown());
}

void TestBoard::unloadableSongIconKeepsTheRestAsItWas()
{
    // A song icon that is no bitmap stops the reload there: all captions are set, later glyphs stay.
    ProgramFixture fixture;
    fixture.writeBitmap(QStringLiteral("C:\\KARVEL\\ICONS\\red.bmp"), Qt::red);
    fixture.writeKit("[Section2]\r\nButton50=Last\r\nIcon1=C:\\KARVEL\\ICONS\\red.bmp\r\nIcon3=C:\\KARVEL\\ICONS\\bad.bmp\r\n"
                     "Icon4=C:\\KARVEL\\ICONS\\red.bmp\r\n");
    fixture.drive.write(QStringLiteral("C:\\KARVEL\\ICONS\\bad.bmp"), "BM but not really");
    TBaseForm &form = fixture.start().BaseForm;
    form.SpeedButtonSong(5)->setDown(true);

    fixture.dialogs.expectError();
    click(form.SpeedButtonTema(2));
    QVERIFY(fixture.dialogs.texts().constFirst().contains(QStringLiteral("bad.bmp")));
    QCOMPARE(form.SpeedButtonSong(50)->text(), QStringLiteral("Last"));
    QCOMPARE(glyphColor(form.SpeedButtonSong(1)), QColor(Qt::red));
    QCOMPARE(glyphColor(form.SpeedButtonSong(2)), QColor(Qt::gray));
    QCOMPARE(glyphColor(form.SpeedButtonSong(4)), QColor(Qt::gray)); // kept from before
    // The theme was selected before the reload failed; song 1 was not pressed afterwards.
    QCOMPARE(fixture.state.SectionName, QStringLiteral("Section2"));
    QVERIFY(form.SpeedButtonSong(5)->isDown());
}

void TestBoard::unloadableThemeIconKeepsTheRestAsItWas()
{
    // A theme icon that is no bitmap stops the theme reload: that theme and the later ones keep caption and glyph.
    ProgramFixture fixture;
    fixture.writeKit(twoThemes);
    fixture.writeKit("[TemaArtist]\r\nButton1=One\r\nButton2=Two\r\nButton3=Three\r\nIcon2=C:\\bad.bmp\r\n",
                     QStringLiteral("C:\\KARVEL\\TEMES\\Broken.qbk"));
    fixture.drive.write(QStringLiteral("C:\\bad.bmp"), "garbage");
    TBaseForm &form = fixture.start().BaseForm;
    QCOMPARE(form.SpeedButtonTema(2)->text(), QStringLiteral("Jazz"));

    fixture.dialogs.answerFile(QStringLiteral("C:\\KARVEL\\TEMES\\Broken.qbk"));
    fixture.dialogs.expectError();
    click(fixture.find<platform::SpeedButton>("SpeedButtonFileIniOpen"));
    QVERIFY(fixture.dialogs.scriptDone());
    QCOMPARE(form.SpeedButtonTema(1)->text(), QStringLiteral("One"));
    QCOMPARE(form.SpeedButtonTema(2)->text(), QStringLiteral("Jazz"));
    QCOMPARE(form.SpeedButtonTema(3)->text(), QStringLiteral("Artist-3"));
    // The error ended the kit opening before the board came back.
    QVERIFY(fixture.find<QGroupBox>("GroupBoxSong")->isHidden());
}

void TestBoard::opensAKitChosenInTheDialog()
{
    // A kit chosen in the dialog becomes current: short board caption, window caption, theme 1 selected.
    ProgramFixture fixture;
    fixture.writeKit(twoThemes, QStringLiteral("C:\\KARVEL\\TEMES\\MyKits2024.qbk"));
    TBaseForm &form = fixture.start().BaseForm;
    click(form.SpeedButtonTema(2));

    fixture.dialogs.answerFile(QStringLiteral("C:\\KARVEL\\TEMES\\MyKits2024.qbk"));
    click(fixture.find<platform::SpeedButton>("SpeedButtonFileIniOpen"));
    const platform::FileDialogOptions &options = fixture.dialogs.shown().constLast().options;
    QCOMPARE(options.filter, QStringLiteral("Files of Orbelan   *.qbk|*.qbk"));
    QCOMPARE(options.initialFolder, QStringLiteral("C:\\KARVEL\\TEMES"));
    QCOMPARE(options.fileName, QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk"));

    QCOMPARE(fixture.state.KitFileName, QStringLiteral("C:\\KARVEL\\TEMES\\MyKits2024.qbk"));
    QCOMPARE(fixture.find<QGroupBox>("GroupBoxSong")->title(), QStringLiteral("MyKits2"));
    QCOMPARE(form.windowTitle(), QStringLiteral(" C:\\KARVEL\\TEMES\\MyKits2024.qbk"));
    QCOMPARE(form.SpeedButtonTema(1)->text(), QStringLiteral("Rock"));
    QVERIFY(form.SpeedButtonTema(1)->isDown());
    QCOMPARE(fixture.state.TemaNumber, 1);
    QCOMPARE(fixture.state.SectionName, QStringLiteral("Section1"));
    QCOMPARE(form.SpeedButtonSong(1)->text(), QStringLiteral("Rain"));
    QVERIFY(!fixture.find<QGroupBox>("GroupBoxSong")->isHidden());
    QVERIFY(form.RichEdit()->isHidden());
    QVERIFY(fixture.find<platform::SpeedButton>("SpeedButtonToSong")->isDown());
    QVERIFY(!fixture.find<platform::SpeedButton>("SpeedButtonFileIniOpen")->isDown());

    // The dialog offers the last chosen name next time.
    fixture.dialogs.answerFile(std::nullopt);
    click(fixture.find<platform::SpeedButton>("SpeedButtonFileIniOpen"));
    QCOMPARE(fixture.dialogs.shown().constLast().options.fileName, QStringLiteral("C:\\KARVEL\\TEMES\\MyKits2024.qbk"));
}

void TestBoard::cancelledKitDialogChangesNothing()
{
    // Cancelling the kit dialog keeps the kit and the buttons, shows the board and presses "Song".
    ProgramFixture fixture;
    fixture.writeKit(twoThemes);
    TBaseForm &form = fixture.start().BaseForm;
    form.RichEdit()->show();
    fixture.find<QLabel>("LabelStatus")->setText(QStringLiteral("old"));
    fixture.dialogs.answerFile(std::nullopt);
    click(fixture.find<platform::SpeedButton>("SpeedButtonFileIniOpen"));
    QCOMPARE(fixture.state.KitFileName, QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk"));
    QCOMPARE(fixture.find<QGroupBox>("GroupBoxSong")->title(), QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk"));
    QCOMPARE(fixture.find<QLabel>("LabelStatus")->text(), QStringLiteral(" "));
    QVERIFY(!fixture.find<QGroupBox>("GroupBoxSong")->isHidden());
    QVERIFY(form.RichEdit()->isHidden());
    QVERIFY(fixture.find<platform::SpeedButton>("SpeedButtonToSong")->isDown());
    QCOMPARE(form.SpeedButtonSong(1)->text(), QStringLiteral("Rain"));
}

void TestBoard::kitNameThatDoesNotExistGivesDefaults()
{
    // A typed kit name that does not exist becomes current, and the board shows default buttons.
    ProgramFixture fixture;
    fixture.writeKit(twoThemes);
    TBaseForm &form = fixture.start().BaseForm;
    fixture.dialogs.answerFile(QStringLiteral("C:\\KARVEL\\TEMES\\A.qbk"));
    click(fixture.find<platform::SpeedButton>("SpeedButtonFileIniOpen"));
    QCOMPARE(fixture.state.KitFileName, QStringLiteral("C:\\KARVEL\\TEMES\\A.qbk"));
    QCOMPARE(fixture.find<QGroupBox>("GroupBoxSong")->title(), QStringLiteral("A"));
    QCOMPARE(form.SpeedButtonTema(1)->text(), QStringLiteral("Artist-1"));
    QCOMPARE(form.SpeedButtonSong(1)->text(), QStringLiteral("Song-1"));
    QVERIFY(!fixture.drive.paths().fileExists(QStringLiteral("C:\\KARVEL\\TEMES\\A.qbk")));
}

void TestBoard::shortensKitNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("First") << "C:\\KARVEL\\TEMES\\First.qbk" << "First";
    QTest::newRow("Rock") << "C:\\KARVEL\\TEMES\\Rock.qbk" << "Rock";
    QTest::newRow("long name") << "C:\\KARVEL\\TEMES\\MyKits2024.qbk" << "MyKits2";
    QTest::newRow("one letter") << "C:\\A.qbk" << "A";
    QTest::newRow("no extension") << "C:\\KARVEL\\Concert" << "Concert";
    QTest::newRow("dots within the 7") << "C:\\a.b.c.qbk" << "a.b.c";
    QTest::newRow("cyrillic") << QString::fromUtf8("C:\\KARVEL\\Концерт.qbk") << QString::fromUtf8("Концерт");
}

void TestBoard::shortensKitNames()
{
    // The board's short kit name: the file name cut to 7 characters, without its last dot and what follows.
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(TBaseForm::shortKitName(path), name);
}

void TestBoard::debugButtonOnlyReleasesTheSongButton()
{
    // A DEBUG button goes down and releases the pressed song button, and does nothing else.
    ProgramFixture fixture;
    fixture.writeKit(twoThemes);
    TBaseForm &form = fixture.start().BaseForm;
    const BaseState before = fixture.state;
    auto *debugA = fixture.find<platform::SpeedButton>("SpeedButton2");
    auto *debugB = fixture.find<platform::SpeedButton>("SpeedButton1");
    QCOMPARE(debugA->text(), QStringLiteral("DEBUG Button A"));
    QCOMPARE(debugB->text(), QStringLiteral("DEBUG Button B"));
    click(debugA);
    QVERIFY(debugA->isDown());
    QVERIFY(!form.SpeedButtonSong(1)->isDown());
    click(debugB, Qt::RightButton);
    QVERIFY(!debugB->isDown());
    QCOMPARE(fixture.state.SongNumber, before.SongNumber);
    QCOMPARE(fixture.state.SongCaption, before.SongCaption);
    QVERIFY(fixture.dialogs.shown().isEmpty());
}

void TestBoard::onlyARightClickOpensTheThemeEditor()
{
    // Left and middle clicks on a theme do not open the editor; a right click opens it in theme mode.
    ProgramFixture fixture;
    fixture.writeKit(twoThemes);
    Program &program = fixture.start();
    TBaseForm &form = program.BaseForm;
    QSignalSpy opened(&program.EditIniForm, &QDialog::finished);

    click(form.SpeedButtonTema(2), Qt::MiddleButton);
    click(form.SpeedButtonTema(2), Qt::LeftButton);
    QCOMPARE(opened.count(), 0);

    int modeWhileOpen = 0;
    QTimer::singleShot(0, &program.EditIniForm, [&] {
        modeWhileOpen = fixture.state.EditMode;
        program.EditIniForm.reject();
    });
    QTest::mousePress(form.SpeedButtonTema(1), Qt::RightButton);
    QTest::mouseRelease(form.SpeedButtonTema(1), Qt::RightButton);
    QCOMPARE(opened.count(), 1);
    QCOMPARE(modeWhileOpen, 2);
    QCOMPARE(fixture.state.EditMode, 1);
    QCOMPARE(fixture.state.TemaEditNumber, 1);
    // A right click neither presses the button nor changes the selected theme.
    QCOMPARE(fixture.state.TemaNumber, 2);
    QCOMPARE(fixture.state.SectionName, QStringLiteral("Section2"));
    QVERIFY(!form.SpeedButtonTema(1)->isDown());
    QCOMPARE(form.SpeedButtonTema(1)->text(), QStringLiteral("Rock"));
}

void TestBoard::newKitLoadsTheBoardWhenTheFileExists()
{
    // After the editor in new-file mode: an existing kit is loaded and named; a missing one is reported.
    ProgramFixture fixture;
    fixture.writeKit(twoThemes);
    fixture.writeKit("[Section1]\r\nButton1=Fresh\r\n[TemaArtist]\r\nButton1=New theme\r\n",
                     QStringLiteral("C:\\KARVEL\\TEMES\\New001.qbk"));
    Program &program = fixture.start();
    TBaseForm &form = program.BaseForm;

    int modeWhileOpen = 0;
    QTimer::singleShot(0, &program.EditIniForm, [&] {
        modeWhileOpen = fixture.state.EditMode;
        fixture.state.KitFileName = QStringLiteral("C:\\KARVEL\\TEMES\\New001.qbk");
        program.EditIniForm.reject();
    });
    click(fixture.find<platform::SpeedButton>("SpeedButtonNewFile"));
    QCOMPARE(modeWhileOpen, 3);
    QCOMPARE(fixture.state.EditMode, 1);
    QCOMPARE(form.windowTitle(), QStringLiteral("JOB kits = C:\\KARVEL\\TEMES\\New001.qbk"));
    QCOMPARE(fixture.find<QGroupBox>("GroupBoxSong")->title(), QStringLiteral("C:\\KARVEL\\TEMES\\New001.qbk"));
    QCOMPARE(form.SpeedButtonSong(1)->text(), QStringLiteral("Fresh"));
    QCOMPARE(form.SpeedButtonTema(1)->text(), QStringLiteral("New theme"));
    QVERIFY(form.SpeedButtonTema(1)->isDown()); // no theme is selected anew

    QTimer::singleShot(0, &program.EditIniForm, [&] {
        fixture.state.KitFileName = QStringLiteral("C:\\KARVEL\\TEMES\\Never.qbk");
        program.EditIniForm.reject();
    });
    click(fixture.find<platform::SpeedButton>("SpeedButtonNewFile"));
    QCOMPARE(fixture.find<QLabel>("LabelStatus")->text(), QString::fromUtf8("Не могу найти файл c темами! "));
    QCOMPARE(fixture.find<QGroupBox>("GroupBoxSong")->title(), QStringLiteral("No File  C:\\KARVEL\\TEMES\\Never.qbk"));
    QCOMPARE(form.windowTitle(), QStringLiteral("JOB kits = C:\\KARVEL\\TEMES\\New001.qbk"));
}

QTEST_MAIN(TestBoard)
#include "tst_board.moc"
