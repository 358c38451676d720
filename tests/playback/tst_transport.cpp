#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "support/programfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QSlider>
#include <QTest>

using platform::MediaMode;

namespace {

struct Transport : ProgramFixture
{
    Transport()
    {
        writeKit("[Section1]\r\nButton1=Rain\r\nSong1=C:\\KARVEL\\SONGS\\rain.wav\r\nText1=C:\\KARVEL\\TEXTS\\rain.rtf\r\n"
                 "Vol1=60\r\n");
        writeWav(QStringLiteral("C:\\KARVEL\\SONGS\\rain.wav"), 10000);
        writeRtf(QStringLiteral("C:\\KARVEL\\TEXTS\\rain.rtf"), QByteArray(100, 'w'));
        start();
    }
    TBaseForm &form() { return base(); }
    QSlider *trackBar() { return find<QSlider>("TrackBarSong"); }
    int volumeBar() { return find<QScrollBar>("ScrollBarVolume")->value(); }
    platform::SpeedButton *play() { return find<platform::SpeedButton>("SpeedButtonPlay"); }
    QString label(const char *name) { return find<QLabel>(name)->text(); }
    void activate() { form().PlayAndText(1); }
    /** Time passes for the song, then the play poll ticks. */
    void tick(qint64 ms)
    {
        player.advance(ms);
        form().TimerPlayTimer();
    }
};

} // namespace

class TestTransport : public QObject
{
    Q_OBJECT

private slots:
    void timeTextDropsLeadingZeros_data();
    void timeTextDropsLeadingZeros();
    void labelsShowLengthElapsedAndRemaining();
    void caretJumpsToAShareOfTheText_data();
    void caretJumpsToAShareOfTheText();
    void pollMovesTheBarWithoutSeeking();
    void endOfSongStopsAtZeroOrRepeats();
    void lengthOfZeroOrOneIsAlwaysAtTheEnd_data();
    void lengthOfZeroOrOneIsAlwaysAtTheEnd();
    void barDraggedToTheEndRewindsAndRepeatsWithTheButtonUp();
    void movingTheBarSeeks();
    void playButtonMovesTheVolume();
    void playFromTheStart();
    void spaceKeyTogglesWithoutTouchingTheVolume();
    void spaceInTheTextPaneTogglesAndIsTyped();
    void twoStartsWithinFourSecondsReseekOnce();
    void reseekOnlyWithItsOption();
};

void TestTransport::timeTextDropsLeadingZeros_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0:0";
    QTest::newRow("under a second") << qint64(999) << "0:0";
    QTest::newRow("3:5") << qint64(185000) << "3:5";
    QTest::newRow("1:1") << qint64(61500) << "1:1";
    QTest::newRow("2:3") << qint64(123500) << "2:3";
    QTest::newRow("75 minutes") << qint64(4500000) << "75:0";
    QTest::newRow("59 seconds") << qint64(59999) << "0:59";
}

void TestTransport::timeTextDropsLeadingZeros()
{
    // Time texts are minutes and seconds in plain decimal, the fraction dropped.
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(TBaseForm::timeText(ms), text);
}

void TestTransport::labelsShowLengthElapsedAndRemaining()
{
    // 185 000 ms at 61 500 ms: length 3:5, elapsed 1:1, remaining 2:3, each framed by its blanks.
    Transport f;
    f.player.forceLength(185000);
    f.activate();
    f.player.advance(61500);
    f.form().SongStatusTime();
    QCOMPARE(f.label("LabelSongLeghtTime"), QStringLiteral(" 3:5  "));
    QCOMPARE(f.label("LabelSongTimeBeg"), QStringLiteral(" 1:1 "));
    QCOMPARE(f.label("LabelSongTimeEnd"), QStringLiteral(" 2:3 "));
}

void TestTransport::caretJumpsToAShareOfTheText_data()
{
    QTest::addColumn<qint64>("position");
    QTest::addColumn<int>("caret");
    // 100 characters of words; length 10 000 ms.
    QTest::newRow("second half: the end") << qint64(6000) << 100;
    QTest::newRow("exactly half") << qint64(5000) << 50;
    QTest::newRow("a third to a half: the middle") << qint64(4000) << 50;
    QTest::newRow("a quarter to a third") << qint64(3000) << 33;
    QTest::newRow("a tenth") << qint64(1000) << 10;
    QTest::newRow("early") << qint64(90) << 0;
}

void TestTransport::caretJumpsToAShareOfTheText()
{
    // The poll puts the caret at text length div (length div position), not at the proportional point.
    QFETCH(qint64, position);
    QFETCH(int, caret);
    Transport f;
    f.activate();
    QCOMPARE(f.form().RichEdit()->textLength(), 100);
    f.tick(position);
    QCOMPARE(f.form().RichEdit()->textCursor().position(), caret);
}

void TestTransport::pollMovesTheBarWithoutSeeking()
{
    // The poll follows the song with the bar and the labels; its own move of the bar does not seek.
    Transport f;
    f.activate();
    f.form().RichEdit()->setCaretPosition(7);
    f.tick(0);
    QCOMPARE(f.form().RichEdit()->textCursor().position(), 7); // no move while the position is 0
    f.player.clearCalls();
    f.tick(2500);
    QCOMPARE(f.trackBar()->value(), 2500);
    QCOMPARE(f.label("LabelSongTimeBeg"), QStringLiteral(" 0:2 "));
    QCOMPARE(f.label("LabelSongTimeEnd"), QStringLiteral(" 0:7 "));
    QVERIFY(!f.player.calls().join(u' ').contains(QStringLiteral("setPosition")));
    QVERIFY(f.state.SeekEnabled);
    QCOMPARE(f.player.mode(), MediaMode::Playing);
}

void TestTransport::endOfSongStopsAtZeroOrRepeats()
{
    // At the end the poll rewinds: with "Repeat song" it plays again, without it stops at 0, button up.
    Transport f;
    f.activate();
    f.tick(9000);
    f.tick(1000);
    QCOMPARE(f.player.mode(), MediaMode::Stopped);
    QCOMPARE(f.player.position(), 0);
    QCOMPARE(f.trackBar()->value(), 0);
    QVERIFY(!f.play()->isDown());
    QCOMPARE(f.label("LabelSongTimeBeg"), QStringLiteral(" 0:0 "));

    f.find<QCheckBox>("CheckBoxRepeat")->setChecked(true);
    QTest::mouseClick(f.play(), Qt::LeftButton);
    f.tick(4000);
    f.tick(6000);
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QCOMPARE(f.player.position(), 0);
    QVERIFY(f.play()->isDown());
}

void TestTransport::lengthOfZeroOrOneIsAlwaysAtTheEnd_data()
{
    QTest::addColumn<qint64>("length");
    QTest::newRow("0 ms") << qint64(0);
    QTest::newRow("1 ms") << qint64(1);
}

void TestTransport::lengthOfZeroOrOneIsAlwaysAtTheEnd()
{
    // A song of 0 or 1 ms counts as at its end on every poll; with "Repeat song" it is played each time.
    QFETCH(qint64, length);
    Transport f;
    f.player.forceLength(length);
    f.find<QCheckBox>("CheckBoxRepeat")->setChecked(true);
    f.activate();
    for (int poll = 0; poll < 3; ++poll) {
        f.player.clearCalls();
        f.form().TimerPlayTimer();
        QVERIFY(f.player.calls().contains(QStringLiteral("setPosition 0")));
        QCOMPARE(f.player.calls().constLast(), QStringLiteral("play"));
    }
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestTransport::barDraggedToTheEndRewindsAndRepeatsWithTheButtonUp()
{
    // Dragging the bar to the end while stopped: the next poll rewinds and, with repeat, plays with the button up.
    Transport f;
    f.activate();
    QTest::mouseClick(f.play(), Qt::LeftButton); // stop
    QCOMPARE(f.player.mode(), MediaMode::Stopped);
    f.find<QCheckBox>("CheckBoxRepeat")->setChecked(true);
    f.trackBar()->setValue(10000);
    QCOMPARE(f.player.position(), 10000);
    f.form().TimerPlayTimer();
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QCOMPARE(f.player.position(), 0);
    QVERIFY(!f.play()->isDown());
}

void TestTransport::movingTheBarSeeks()
{
    // Moving the bar moves the player there, playing on when the play button is down, and marks a song loaded.
    Transport f;
    f.activate();
    f.trackBar()->setValue(4200);
    QCOMPARE(f.player.position(), 4200);
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QCOMPARE(f.label("LabelSongTimeBeg"), QStringLiteral(" 0:4 "));
    QTest::mouseClick(f.play(), Qt::LeftButton);
    f.trackBar()->setValue(1000);
    QCOMPARE(f.player.position(), 1000);
    QCOMPARE(f.player.mode(), MediaMode::Stopped);
}

void TestTransport::playButtonMovesTheVolume()
{
    // Stopping puts the volume bar at 1; playing again restores the song's volume unless the fade-in is down.
    Transport f;
    f.activate();
    f.player.advance(3000);
    f.form().TimerPlayTimer();
    QTest::mouseClick(f.play(), Qt::LeftButton);
    QCOMPARE(f.volumeBar(), 1);
    QCOMPARE(f.player.mode(), MediaMode::Stopped);
    QCOMPARE(f.player.position(), 3000);

    QTest::mouseClick(f.play(), Qt::LeftButton);
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QCOMPARE(f.player.position(), 3000);
    QCOMPARE(f.volumeBar(), 60);

    QTest::mouseClick(f.play(), Qt::LeftButton);
    f.find<platform::SpeedButton>("SpeedButtonFadeIn")->setDown(true);
    QTest::mouseClick(f.play(), Qt::LeftButton);
    QCOMPARE(f.volumeBar(), 1);
}

void TestTransport::playFromTheStart()
{
    // The play-from-start button plays from 0 at the song's volume; before any song it does nothing.
    Transport f;
    f.form().SpeedButtonBeginClick();
    QCOMPARE(f.player.mode(), MediaMode::NotOpen);
    f.activate();
    f.player.advance(5000);
    f.form().TimerPlayTimer();
    QTest::mouseClick(f.play(), Qt::LeftButton);
    f.form().SpeedButtonBeginClick();
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QCOMPARE(f.player.position(), 0);
    QCOMPARE(f.trackBar()->value(), 0);
    QVERIFY(f.play()->isDown());
    QCOMPARE(f.volumeBar(), 60);
}

void TestTransport::spaceKeyTogglesWithoutTouchingTheVolume()
{
    // The space bar stops and plays again, leaving the volume bar alone; other keys and "Keyboard " off do nothing.
    Transport f;
    f.form().setFocus();
    QTest::keyClick(&f.form(), Qt::Key_Space);
    QCOMPARE(f.player.mode(), MediaMode::NotOpen);
    f.activate();
    f.player.advance(2000);
    QTest::keyClick(&f.form(), Qt::Key_Space);
    QCOMPARE(f.player.mode(), MediaMode::Stopped);
    QVERIFY(!f.play()->isDown());
    QCOMPARE(f.volumeBar(), 60);
    QTest::keyClick(&f.form(), Qt::Key_Space, Qt::ShiftModifier);
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QVERIFY(f.play()->isDown());
    QTest::keyClick(&f.form(), Qt::Key_A);
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    f.find<QCheckBox>("CheckBoxKey")->setChecked(false);
    QTest::keyClick(&f.form(), Qt::Key_Space);
    QCOMPARE(f.player.mode(), MediaMode::Playing);
}

void TestTransport::spaceInTheTextPaneTogglesAndIsTyped()
{
    // A space typed in the text pane toggles playing and is also typed into the words.
    Transport f;
    f.activate();
    platform::RichTextEdit *pane = f.form().RichEdit();
    pane->setPlainText(QStringLiteral("ab"));
    pane->setFocus();
    pane->setCaretPosition(1);
    QTest::keyClick(pane, Qt::Key_Space);
    QCOMPARE(f.player.mode(), MediaMode::Stopped);
    QCOMPARE(pane->toPlainText(), QStringLiteral("a b"));
    QTest::keyClick(pane, Qt::Key_Space);
    QCOMPARE(f.player.mode(), MediaMode::Playing);
}

void TestTransport::twoStartsWithinFourSecondsReseekOnce()
{
    // Switching the re-seek timer on while it runs does not restart its four seconds.
    Transport f;
    f.activate();
    QTimer &reseek = f.form().TimerMp3rpt();
    QVERIFY(reseek.isActive());
    QCOMPARE(reseek.interval(), 4000);
    const int timer = reseek.timerId();
    QTest::mouseClick(f.play(), Qt::LeftButton);
    QTest::mouseClick(f.play(), Qt::LeftButton);
    QCOMPARE(reseek.timerId(), timer);
    f.form().TimerMp3rptTimer();
    QVERIFY(!reseek.isActive());
}

void TestTransport::reseekOnlyWithItsOption()
{
    // The re-seek moves the player back to the bar only with "MP3 over Caption " ticked; it switches itself off.
    Transport f;
    f.activate();
    f.tick(1500);
    f.player.advance(700);
    f.form().TimerMp3rptTimer();
    QCOMPARE(f.player.position(), 2200);
    QVERIFY(!f.form().TimerMp3rpt().isActive());

    f.find<QCheckBox>("CheckBoxLefMP3")->setChecked(true);
    QTest::mouseClick(f.play(), Qt::LeftButton);
    QTest::mouseClick(f.play(), Qt::LeftButton);
    f.tick(300); // play went on from the bar, 1500; the poll put the bar at 1800
    f.player.advance(400);
    f.form().TimerMp3rptTimer();
    QCOMPARE(f.player.position(), 1800);
    QCOMPARE(f.player.mode(), MediaMode::Playing);
    QVERIFY(!f.form().TimerMp3rpt().isActive());
}

QTEST_MAIN(TestTransport)
#include "tst_transport.moc"
