#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "support/programfixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QSlider>
#include <QTest>

using platform::MediaMode;

namespace {

struct Pane : ProgramFixture
{
    Pane()
    {
        writeKit("[Section1]\r\nSong1=C:\\KARVEL\\SONGS\\one.wav\r\nVol1=80\r\n");
        writeWav(QStringLiteral("C:\\KARVEL\\SONGS\\one.wav"), 6000);
        writeWav(QStringLiteral("C:\\MUSIC\\other.wav"), 9000);
        writeRtf(QStringLiteral("C:\\MUSIC\\words.rtf"), "Words of my own");
        writeBitmap(QStringLiteral("C:\\KARVEL\\NoIcoS.bmp"), Qt::red);
        start();
    }
    TBaseForm &form() { return base(); }
    platform::SpeedButton *button(const char *name) { return find<platform::SpeedButton>(name); }
    QGroupBox *board() { return find<QGroupBox>("GroupBoxSong"); }
};

} // namespace

class TestTextPane : public QObject
{
    Q_OBJECT

private slots:
    void songAndTextButtonsSwitchTheView();
    void opensAnRtfFileDirectly();
    void typedTextIsLostAtTheNextLoad();
    void missingTypedTextNameShowsTheError();
    void opensAnAudioFileDirectly();
    void directAudioOpenStartsAtTheBarResetWhileOnePlays();
    void audioThatCannotBeOpenedDirectly();
    void cancelledDialogsChangeNothing();
    void textOptionIsStoredAtOnce();
};

void TestTextPane::songAndTextButtonsSwitchTheView()
{
    // "Text" shows the pane over the board, "Song" brings the board back; one of the three stays down.
    Pane f;
    QTest::mouseClick(f.button("SpeedButtonToText"), Qt::LeftButton);
    QVERIFY(!f.form().RichEdit()->isHidden());
    QVERIFY(f.board()->isHidden());
    QVERIFY(f.button("SpeedButtonToText")->isDown());
    QTest::mouseClick(f.button("SpeedButtonToSong"), Qt::LeftButton);
    QVERIFY(f.form().RichEdit()->isHidden());
    QVERIFY(!f.board()->isHidden());
    QVERIFY(f.button("SpeedButtonToSong")->isDown());
    QVERIFY(!f.button("SpeedButtonToText")->isDown());
    QTest::mouseClick(f.button("SpeedButtonToSong"), Qt::LeftButton);
    QVERIFY(f.button("SpeedButtonToSong")->isDown());
}

void TestTextPane::opensAnRtfFileDirectly()
{
    // An RTF file opened directly fills the pane and names itself; the view buttons and the audio stay.
    Pane f;
    f.form().PlayAndText(1);
    QTest::mouseClick(f.button("SpeedButtonToSong"), Qt::LeftButton);
    f.dialogs.answerFile(QStringLiteral("C:\\MUSIC\\words.rtf"));
    QTest::mouseClick(f.button("SpeedButtonOpenText"), Qt::LeftButton);
    QCOMPARE(f.dialogs.shown().constLast().options.filter, QStringLiteral("RTF files|*.rtf"));
    QCOMPARE(f.state.TextFileName, QStringLiteral("C:\\MUSIC\\words.rtf"));
    QCOMPARE(f.form().RichEdit()->toPlainText(), QStringLiteral("Words of my own"));
    QVERIFY(!f.form().RichEdit()->isHidden());
    QVERIFY(f.board()->isHidden());
    QVERIFY(f.button("SpeedButtonToSong")->isDown());
    QCOMPARE(f.form().windowTitle(), QStringLiteral("Text = C:\\MUSIC\\words.rtf"));
    QCOMPARE(f.find<QLabel>("LabelNameButton")->text(), QStringLiteral(" ----  "));
    QCOMPARE(f.find<QLabel>("ImageIcon")->pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(f.player.fileName(), QStringLiteral("C:\\KARVEL\\SONGS\\one.wav"));
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QCOMPARE(f.state.SongNumber, 1);
}

void TestTextPane::typedTextIsLostAtTheNextLoad()
{
    // The words can be edited, but nothing is saved: the next load shows the file again.
    Pane f;
    f.dialogs.answerFile(QStringLiteral("C:\\MUSIC\\words.rtf"));
    f.form().SpeedButtonOpenTextClick();
    platform::RichTextEdit *pane = f.form().RichEdit();
    pane->setFocus();
    pane->setCaretPosition(0);
    QTest::keyClicks(pane, QStringLiteral("New "));
    QCOMPARE(pane->toPlainText(), QStringLiteral("New Words of my own"));
    f.dialogs.answerFile(QStringLiteral("C:\\MUSIC\\words.rtf"));
    f.form().SpeedButtonOpenTextClick();
    QCOMPARE(pane->toPlainText(), QStringLiteral("Words of my own"));
    QVERIFY(f.drive.read(QStringLiteral("C:\\MUSIC\\words.rtf")).contains("Words of my own\\par"));
}

void TestTextPane::missingTypedTextNameShowsTheError()
{
    // A typed name of a missing RTF file: the pane is shown, the load fails with an error box, the rest is skipped.
    Pane f;
    f.dialogs.answerFile(QStringLiteral("C:\\MUSIC\\nothing.rtf"));
    f.dialogs.expectError();
    f.boundary.run([&] { f.form().SpeedButtonOpenTextClick(); });
    QVERIFY(f.dialogs.texts().constFirst().contains(QStringLiteral("nothing.rtf")));
    QCOMPARE(f.state.TextFileName, QStringLiteral("C:\\MUSIC\\nothing.rtf"));
    QVERIFY(!f.form().RichEdit()->isHidden());
    QCOMPARE(f.form().windowTitle(), QStringLiteral(" C:\\KARVEL\\TEMES\\First.qbk"));
}

void TestTextPane::opensAnAudioFileDirectly()
{
    // An audio file opened directly waits at 0 with play enabled and up, at the volume it had.
    Pane f;
    const int volume = f.find<QScrollBar>("ScrollBarVolume")->value();
    f.dialogs.answerFile(QStringLiteral("C:\\MUSIC\\other.wav"));
    QTest::mouseClick(f.button("SpeedButtonOpenSong"), Qt::LeftButton);
    QCOMPARE(f.dialogs.shown().constLast().options.filter, QStringLiteral("mp3|*.mp3|wav|*.wav|midi|*.mid|all|*.*"));
    QCOMPARE(f.state.SongFileName, QStringLiteral("C:\\MUSIC\\other.wav"));
    QCOMPARE(f.player.mode(), MediaMode::Stopped);
    QCOMPARE(f.player.position(), 0);
    QVERIFY(f.button("SpeedButtonPlay")->isEnabled());
    QVERIFY(!f.button("SpeedButtonPlay")->isDown());
    QVERIFY(f.button("SpeedButtonBegin")->isEnabled());
    QVERIFY(f.find<QSlider>("TrackBarSong")->isEnabled());
    QCOMPARE(f.find<QSlider>("TrackBarSong")->maximum(), 9000);
    QCOMPARE(f.find<QSlider>("TrackBarSong")->pageStep(), 900);
    QCOMPARE(f.form().windowTitle(), QStringLiteral("Song = C:\\MUSIC\\other.wav"));
    QCOMPARE(f.find<QLabel>("LabelNameButton")->text(), QStringLiteral(" - "));
    QCOMPARE(f.find<QLabel>("LabelSongLeghtTime")->text(), QStringLiteral(" 0:9  "));
    QCOMPARE(f.find<QScrollBar>("ScrollBarVolume")->value(), volume);
    QVERIFY(!f.form().TimerMp3rpt().isActive());
    QVERIFY(!f.board()->isHidden());
    // Opened on its own, the song still plays by the space bar and from the start.
    QVERIFY(f.state.SongLoaded);
    f.form().FormKeyDown(Qt::Key_Space, {});
    QCOMPARE(f.player.mode(), MediaMode::Playing);
}

void TestTextPane::directAudioOpenStartsAtTheBarResetWhileOnePlays()
{
    // Opening audio while a song plays away from 0 starts the new file at the bar's reset, the button shown up.
    Pane f;
    f.form().PlayAndText(1);
    f.player.advance(2000);
    f.form().TimerPlayTimer();
    f.dialogs.answerFile(QStringLiteral("C:\\MUSIC\\other.wav"));
    f.form().SpeedButtonOpenSongClick();
    QCOMPARE(f.player.fileName(), QStringLiteral("C:\\MUSIC\\other.wav"));
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QVERIFY(!f.button("SpeedButtonPlay")->isDown());
}

void TestTextPane::audioThatCannotBeOpenedDirectly()
{
    // Audio that cannot be opened: the error box, the name kept, the old audio already closed.
    Pane f;
    f.form().PlayAndText(1);
    f.dialogs.answerFile(QStringLiteral("C:\\MUSIC\\nothing.mp3"));
    f.dialogs.expectError();
    f.boundary.run([&] { f.form().SpeedButtonOpenSongClick(); });
    QVERIFY(f.dialogs.texts().constFirst().contains(QStringLiteral("nothing.mp3")));
    QCOMPARE(f.state.SongFileName, QStringLiteral("C:\\MUSIC\\nothing.mp3"));
    QCOMPARE(f.player.mode(), MediaMode::NotOpen);
    QCOMPARE(f.form().windowTitle(), QStringLiteral(" C:\\KARVEL\\TEMES\\First.qbk"));
}

void TestTextPane::cancelledDialogsChangeNothing()
{
    // Cancelling either dialog only clears the status line.
    Pane f;
    f.form().PlayAndText(1);
    const QString title = f.form().windowTitle();
    f.dialogs.answerFile(std::nullopt);
    f.form().SpeedButtonOpenTextClick();
    f.dialogs.answerFile(std::nullopt);
    f.form().SpeedButtonOpenSongClick();
    QCOMPARE(f.form().windowTitle(), title);
    QCOMPARE(f.player.fileName(), QStringLiteral("C:\\KARVEL\\SONGS\\one.wav"));
    QCOMPARE(f.find<QLabel>("LabelStatus")->text(), QStringLiteral(" "));
}

void TestTextPane::textOptionIsStoredAtOnce()
{
    // Unticking "Aktivate TXT  FORM" writes OFF into the settings file at once, ticking it writes ON.
    Pane f;
    QCheckBox *option = f.find<QCheckBox>("CheckBoxNoTxt");
    option->setChecked(!option->isChecked());
    option->setChecked(false);
    QCOMPARE(platform::IniFile(f.profiles, QStringLiteral("pelcor.ini")).readString(u"OptionS", u"CheckBoxNoTxt", {}),
             QStringLiteral("OFF"));
    option->setChecked(true);
    QCOMPARE(f.drive.read(QStringLiteral("C:\\WINDOWS\\pelcor.ini")), QByteArray("[OptionS]\r\nCheckBoxNoTxt=ON\r\n"));
}

QTEST_MAIN(TestTextPane)
#include "tst_textpane.moc"
