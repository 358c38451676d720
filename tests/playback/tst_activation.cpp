#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "support/programfixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

using platform::MediaMode;

namespace {

// Theme 1: a full entry, an entry without audio, one with volume 150, one whose audio cannot be played.
const QByteArray kit = "[Section1]\r\n"
                       "Button1=Rain\r\nText1=C:\\KARVEL\\TEXTS\\rain.rtf\r\nSong1=C:\\KARVEL\\SONGS\\rain.wav\r\n"
                       "Icon1=C:\\KARVEL\\ICONS\\rain.bmp\r\nVol1=70\r\n"
                       "Button2=Words only\r\nText2=C:\\KARVEL\\TEXTS\\words.rtf\r\nVol2=35\r\n"
                       "Button3=Loud\r\nSong3=C:\\KARVEL\\SONGS\\loud.wav\r\nVol3=150\r\n"
                       "Button4=Broken\r\nSong4=C:\\KARVEL\\SONGS\\broken.wav\r\nIcon4=-\r\n"
                       "Button5=Second\r\nSong5=C:\\KARVEL\\SONGS\\second.wav\r\nVol5=40\r\n";

struct Playback : ProgramFixture
{
    Playback()
    {
        writeKit(kit);
        writeWav(QStringLiteral("C:\\KARVEL\\SONGS\\rain.wav"), 20000);
        writeWav(QStringLiteral("C:\\KARVEL\\SONGS\\loud.wav"), 5000);
        writeWav(QStringLiteral("C:\\KARVEL\\SONGS\\second.wav"), 8000);
        drive.write(QStringLiteral("C:\\KARVEL\\SONGS\\broken.wav"), "this is no sound at all");
        writeRtf(QStringLiteral("C:\\KARVEL\\TEXTS\\rain.rtf"), "Rain on the roof");
        writeRtf(QStringLiteral("C:\\KARVEL\\TEXTS\\words.rtf"), "Only words");
        writeBitmap(QStringLiteral("C:\\KARVEL\\ICONS\\rain.bmp"), Qt::blue);
        drive.write(QStringLiteral("C:\\WINDOWS\\pelcor.ini"), "[OptionS]\r\nCheckBoxNoTxt=ON\r\n");
        start();
    }
    TBaseForm &form() { return base(); }
    QString status() { return find<QLabel>("LabelStatus")->text(); }
    int volumeBar() { return find<QScrollBar>("ScrollBarVolume")->value(); }
    QSlider *trackBar() { return find<QSlider>("TrackBarSong"); }
    platform::SpeedButton *button(const char *name) { return find<platform::SpeedButton>(name); }
    /** Clicks a song button, bringing the board back first when the text pane covers it. */
    void clickSong(int song)
    {
        if (find<QGroupBox>("GroupBoxSong")->isHidden())
            QTest::mouseClick(button("SpeedButtonToSong"), Qt::LeftButton);
        QTest::mouseClick(form().SpeedButtonSong(song), Qt::LeftButton);
    }
};

} // namespace

class TestActivation : public QObject
{
    Q_OBJECT

private slots:
    void playsTheSongWithItsWordsAndVolume();
    void entryWithoutKeysShowsDefaults();
    void reportsMissingTextAndAudioTogether();
    void volumeAbove100IsClampedButKeptAsTarget();
    void withoutPlaySynchroTheSongWaits();
    void newSongStartsAtTheBarResetWhileOnePlays();
    void entryWithoutAudioLeavesThePlayingSongAlone();
    void withoutTheTextOptionTheBoardStays();
    void fadeInLeavesTheVolumeAtOne();
    void audioThatCannotBeOpenedEndsTheActivation();
    void rightClickEditsTheEntryAndRefreshesTheButton();
};

void TestActivation::playsTheSongWithItsWordsAndVolume()
{
    // A click on a song shows its words, caption and icon, opens its audio at 0 and plays it at its volume.
    Playback f;
    f.clickSong(1);
    QCOMPARE(f.state.SongNumber, 1);
    QCOMPARE(f.state.SongCaption, QStringLiteral("Rain"));
    QCOMPARE(f.state.SongVolume, 70);
    QCOMPARE(f.state.FadeTarget, 70);
    QVERIFY(f.state.SongLoaded);
    QCOMPARE(f.status(), QStringLiteral(" "));
    QCOMPARE(f.find<QLabel>("LabelNameButton")->text(), QStringLiteral("  Rain  "));
    QCOMPARE(f.form().RichEdit()->toPlainText(), QStringLiteral("Rain on the roof"));
    QVERIFY(!f.form().RichEdit()->isHidden());
    QVERIFY(f.find<QGroupBox>("GroupBoxSong")->isHidden());
    QVERIFY(f.button("SpeedButtonToText")->isDown());
    QCOMPARE(f.find<QLabel>("ImageIcon")->pixmap().toImage().pixelColor(5, 5), QColor(Qt::blue));

    QCOMPARE(f.player.fileName(), QStringLiteral("C:\\KARVEL\\SONGS\\rain.wav"));
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QCOMPARE(f.player.position(), 0);
    QCOMPARE(f.trackBar()->maximum(), 20000);
    QCOMPARE(f.trackBar()->pageStep(), 2000);
    QVERIFY(f.trackBar()->isEnabled());
    QVERIFY(f.button("SpeedButtonPlay")->isEnabled());
    QVERIFY(f.button("SpeedButtonPlay")->isDown());
    QVERIFY(f.button("SpeedButtonBegin")->isEnabled());
    QVERIFY(f.form().TimerMp3rpt().isActive());
    QCOMPARE(f.find<QLabel>("LabelSongLeghtTime")->text(), QStringLiteral(" 0:20  "));
    QCOMPARE(f.find<QLabel>("LabelSongTimeEnd")->text(), QStringLiteral(" 0:20 "));
    QCOMPARE(f.volumeBar(), 70);
    QCOMPARE(f.form().windowTitle(), QStringLiteral(" C:\\KARVEL\\TEMES\\First.qbk"));
    // The speaker went to 1 % first (the bar's change, then the direct call), then to the song's volume.
    QCOMPARE(f.mixer.writes(), (QList<quint32>{655, 655, 70 * 655}));
}

void TestActivation::entryWithoutKeysShowsDefaults()
{
    // An entry without keys shows "No Name", loads the no-text file, reports no audio and goes to volume 50.
    Playback f;
    f.writeRtf(QStringLiteral("C:\\KARVEL\\NoRtf.rtf"), "No words for this song");
    f.clickSong(9);
    QCOMPARE(f.find<QLabel>("LabelNameButton")->text(), QStringLiteral("  No Name  "));
    QCOMPARE(f.form().RichEdit()->toPlainText(), QStringLiteral("No words for this song"));
    QCOMPARE(f.status(), QStringLiteral(" no Wave File!"));
    QVERIFY(!f.button("SpeedButtonPlay")->isEnabled());
    QVERIFY(!f.button("SpeedButtonPlay")->isDown());
    QCOMPARE(f.volumeBar(), 50);
    QCOMPARE(f.state.SongFileName, QString());
    QVERIFY(!f.state.SongLoaded);
    QCOMPARE(f.player.mode(), MediaMode::NotOpen);
}

void TestActivation::reportsMissingTextAndAudioTogether()
{
    // Missing words and missing audio both go on the status line, in that order; the pane keeps its text.
    Playback f;
    f.form().RichEdit()->setPlainText(QStringLiteral("earlier words"));
    f.clickSong(9);
    QCOMPARE(f.status(), QStringLiteral(" No file RTF! no Wave File!"));
    QCOMPARE(f.form().RichEdit()->toPlainText(), QStringLiteral("earlier words"));
}

void TestActivation::volumeAbove100IsClampedButKeptAsTarget()
{
    // A stored volume of 150 puts the bar at 100 while the fade target keeps 150.
    Playback f;
    f.clickSong(3);
    QCOMPARE(f.volumeBar(), 100);
    QCOMPARE(f.state.SongVolume, 150);
    QCOMPARE(f.state.FadeTarget, 150);
}

void TestActivation::withoutPlaySynchroTheSongWaits()
{
    // With "Play song synhro" off, the song is opened and waits at 0 with the play button up.
    Playback f;
    f.find<QCheckBox>("CheckBoxPlay")->setChecked(false);
    f.clickSong(1);
    QCOMPARE(f.player.mode(), MediaMode::Stopped);
    QVERIFY(!f.button("SpeedButtonPlay")->isDown());
    QVERIFY(f.button("SpeedButtonPlay")->isEnabled());
}

void TestActivation::newSongStartsAtTheBarResetWhileOnePlays()
{
    // While a song plays away from 0, the next one starts at the bar's reset, even without "Play song synhro".
    Playback f;
    f.clickSong(1);
    f.player.advance(3000);
    f.form().TimerPlayTimer();
    QCOMPARE(f.trackBar()->value(), 3000);
    f.find<QCheckBox>("CheckBoxPlay")->setChecked(false);
    f.clickSong(5);
    QCOMPARE(f.player.fileName(), QStringLiteral("C:\\KARVEL\\SONGS\\second.wav"));
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QVERIFY(!f.button("SpeedButtonPlay")->isDown());
    QCOMPARE(f.trackBar()->value(), 0);
}

void TestActivation::entryWithoutAudioLeavesThePlayingSongAlone()
{
    // An entry without audio keeps the playing song going, at the new entry's volume, with play disabled.
    Playback f;
    f.clickSong(1);
    f.player.advance(2500);
    const int writesBefore = f.mixer.writes().size();
    f.clickSong(2);
    QCOMPARE(f.player.fileName(), QStringLiteral("C:\\KARVEL\\SONGS\\rain.wav"));
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QCOMPARE(f.player.position(), 2500);
    QVERIFY(!f.button("SpeedButtonPlay")->isEnabled());
    QCOMPARE(f.volumeBar(), 35);
    QCOMPARE(f.mixer.writes().mid(writesBefore), (QList<quint32>{655, 655, 35 * 655}));
    QCOMPARE(f.form().RichEdit()->toPlainText(), QStringLiteral("Only words"));
}

void TestActivation::withoutTheTextOptionTheBoardStays()
{
    // With "Aktivate TXT  FORM" off, the board stays on screen and the words go to the hidden pane.
    Playback f;
    f.find<QCheckBox>("CheckBoxNoTxt")->setChecked(false);
    f.clickSong(1);
    QVERIFY(!f.find<QGroupBox>("GroupBoxSong")->isHidden());
    QVERIFY(f.form().RichEdit()->isHidden());
    QCOMPARE(f.form().RichEdit()->toPlainText(), QStringLiteral("Rain on the roof"));
}

void TestActivation::fadeInLeavesTheVolumeAtOne()
{
    // With the fade-in button down, activation leaves the bar at 1 for the fader to raise.
    Playback f;
    f.button("SpeedButtonFadeIn")->setDown(true);
    f.clickSong(1);
    QCOMPARE(f.volumeBar(), 1);
    QCOMPARE(f.state.FadeTarget, 70);
}

void TestActivation::audioThatCannotBeOpenedEndsTheActivation()
{
    // Audio the player cannot open shows the player's error; the old audio is closed and the rest is skipped.
    Playback f;
    f.clickSong(1);
    f.dialogs.expectError();
    f.clickSong(4);
    QVERIFY(f.dialogs.texts().constFirst().contains(QStringLiteral("broken.wav")));
    QCOMPARE(f.player.mode(), MediaMode::NotOpen);
    QCOMPARE(f.find<QLabel>("LabelNameButton")->text(), QStringLiteral("  Broken  "));
    QCOMPARE(f.volumeBar(), 1);                      // the end of the activation did not run
    QCOMPARE(f.trackBar()->maximum(), 20000);        // nor the new bar settings
    QVERIFY(f.state.SongLoaded);                     // from the song before

    // The poll and the play-from-start button then find nothing open, without an error.
    f.form().TimerPlayTimer();
    f.form().SpeedButtonBeginClick();
    f.form().FormKeyDown(Qt::Key_Space, {});
    QCOMPARE(f.dialogs.shown().size(), 1);
}

void TestActivation::rightClickEditsTheEntryAndRefreshesTheButton()
{
    // A right click opens the editor on that song; afterwards the button shows the entry's caption and icon.
    Playback f;
    Program &program = *f.program;
    QSignalSpy opened(&program.EditIniForm, &QDialog::finished);
    QTest::mouseClick(f.form().SpeedButtonSong(1), Qt::MiddleButton);
    QCOMPARE(opened.count(), 0);

    f.writeBitmap(QStringLiteral("C:\\KARVEL\\ICONS\\green.bmp"), Qt::green);
    f.writeKit(kit + "[Section1]\r\n"); // unchanged entries
    QTimer::singleShot(0, &program.EditIniForm, [&] {
        f.state.SongCaption = QStringLiteral("Renamed");
        f.state.IconFileName = QStringLiteral("C:\\KARVEL\\ICONS\\green.bmp");
        program.EditIniForm.reject();
    });
    QTest::mousePress(f.form().SpeedButtonSong(7), Qt::RightButton);
    QTest::mouseRelease(f.form().SpeedButtonSong(7), Qt::RightButton);
    QCOMPARE(opened.count(), 1);
    QCOMPARE(f.state.SongNumber, 7);
    QCOMPARE(f.form().SpeedButtonSong(7)->text(), QStringLiteral("Renamed"));
    QCOMPARE(f.form().SpeedButtonSong(7)->glyph().toImage().pixelColor(5, 5), QColor(Qt::green));
    // The song is not activated and the pressed button stays as it was.
    QVERIFY(f.form().SpeedButtonSong(1)->isDown());
    QCOMPARE(f.player.mode(), MediaMode::NotOpen);
}

QTEST_MAIN(TestActivation)
#include "tst_activation.moc"
