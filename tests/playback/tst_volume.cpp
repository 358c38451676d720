#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "support/programfixture.h"

#include <QLabel>
#include <QScrollBar>
#include <QTest>

using platform::MemoryMixer;

namespace {

struct Volume : ProgramFixture
{
    explicit Volume(quint32 desktop = 50 * 655, MemoryMixer::Presence presence = MemoryMixer::Presence::Present)
    {
        mixer = MemoryMixer(presence, desktop);
        writeKit("[Section1]\r\nSong1=C:\\KARVEL\\SONGS\\one.wav\r\nVol1=50\r\nSong2=C:\\KARVEL\\SONGS\\one.wav\r\nVol2=150\r\n");
        writeWav(QStringLiteral("C:\\KARVEL\\SONGS\\one.wav"), 60000);
        if (presence == MemoryMixer::Presence::Absent)
            dialogs.answerMessage();
        start();
    }
    TBaseForm &form() { return base(); }
    QScrollBar *bar() { return find<QScrollBar>("ScrollBarVolume"); }
    QString label() { return find<QLabel>("LabelVolume")->text(); }
    platform::SpeedButton *fadeIn() { return find<platform::SpeedButton>("SpeedButtonFadeIn"); }
    platform::SpeedButton *fadeOut() { return find<platform::SpeedButton>("SpeedButtonFadeOut"); }
    platform::SpeedButton *play() { return find<platform::SpeedButton>("SpeedButtonPlay"); }
    /** Ticks of the fader; returns the bar's positions after each. */
    QList<int> ticks(int count)
    {
        QList<int> positions;
        for (int i = 0; i < count; ++i) {
            form().TimerFaderTimer();
            positions.append(bar()->value());
        }
        return positions;
    }
};

} // namespace

class TestVolume : public QObject
{
    Q_OBJECT

private slots:
    void startUpReadsTheSpeakerVolume_data();
    void startUpReadsTheSpeakerVolume();
    void barWritesPositionTimes655();
    void fadeInClimbsOnePastTheTarget();
    void fadeInToTargetOf100OrMore();
    void fadeInAboveTheTargetOnlyReleases();
    void fadeOutFrom100Takes100Ticks();
    void fadesPauseWhileStopped();
    void fadeButtonsReleaseEachOther();
    void faderSpeed_data();
    void faderSpeed();
    void withoutMixerTheBarReachesNoSoundCard();
    void shutdownLeavesTheSpeakerAt1();
};

void TestVolume::startUpReadsTheSpeakerVolume_data()
{
    QTest::addColumn<quint32>("desktop");
    QTest::addColumn<int>("bar");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QList<quint32>>("writes");
    QTest::newRow("full") << quint32(65535) << 100 << "100%" << QList<quint32>{65500};
    QTest::newRow("50 band, low end") << quint32(50 * 655) << 50 << "50%" << QList<quint32>{};
    QTest::newRow("50 band, high end") << quint32(51 * 655 - 1) << 50 << "50%" << QList<quint32>{};
    QTest::newRow("below 655") << quint32(654) << 0 << "0%" << QList<quint32>{0};
    QTest::newRow("between steps") << quint32(20 * 655 + 300) << 20 << "20%" << QList<quint32>{20 * 655};
}

void TestVolume::startUpReadsTheSpeakerVolume()
{
    // Start-up puts the bar at the speaker volume div 655; a changed position is written back in steps of 655.
    QFETCH(quint32, desktop);
    QFETCH(int, bar);
    QFETCH(QString, label);
    QFETCH(QList<quint32>, writes);
    Volume f(desktop);
    QVERIFY(f.state.MixerReady);
    QCOMPARE(f.bar()->value(), bar);
    QCOMPARE(f.label(), label);
    QCOMPARE(f.mixer.writes(), writes);
    QCOMPARE(f.mixer.current(), writes.isEmpty() ? desktop : writes.constLast());
}

void TestVolume::barWritesPositionTimes655()
{
    // Every position of the bar reaches the speaker as position x 655, and the label as a percentage.
    Volume f;
    f.bar()->setValue(37);
    QCOMPARE(f.mixer.current(), quint32(37 * 655));
    QCOMPARE(f.label(), QStringLiteral("37%"));
    f.bar()->setValue(100);
    QCOMPARE(f.mixer.current(), quint32(65500));
    f.bar()->setValue(250); // clamped to 100: no change, nothing written
    QCOMPARE(f.mixer.writes().size(), 2);
}

void TestVolume::fadeInClimbsOnePastTheTarget()
{
    // With the fade-in down, a song of volume 50 starts at 1 and climbs 2 ... 51; the next tick releases the button.
    Volume f;
    QTest::mouseClick(f.fadeIn(), Qt::LeftButton);
    QVERIFY(f.fadeIn()->isDown());
    f.form().PlayAndText(1);
    QCOMPARE(f.bar()->value(), 1);
    QList<int> expected;
    for (int v = 2; v <= 51; ++v)
        expected.append(v);
    QCOMPARE(f.ticks(50), expected);
    QVERIFY(f.fadeIn()->isDown());
    QCOMPARE(f.ticks(1), QList<int>{51});
    QVERIFY(!f.fadeIn()->isDown());
    QCOMPARE(f.label(), QStringLiteral("51%"));
    QCOMPARE(f.state.FadeTarget, 50);
    QCOMPARE(f.state.SongVolume, 50);
}

void TestVolume::fadeInToTargetOf100OrMore()
{
    // A target of 100 or more ends the fade at 100 in the same tick; pressed at 100 it asks for 101 and stays down.
    Volume f;
    f.form().PlayAndText(2); // volume 150: bar at 100
    f.bar()->setValue(98);
    QTest::mouseClick(f.fadeIn(), Qt::LeftButton);
    QCOMPARE(f.ticks(1), QList<int>{99});
    QVERIFY(f.fadeIn()->isDown());
    QCOMPARE(f.ticks(1), QList<int>{100});
    QVERIFY(!f.fadeIn()->isDown());

    const int writes = f.mixer.writes().size();
    QTest::mouseClick(f.fadeIn(), Qt::LeftButton);
    QCOMPARE(f.ticks(3), (QList<int>{100, 100, 100}));
    QVERIFY(f.fadeIn()->isDown());
    QCOMPARE(f.mixer.writes().size(), writes);
}

void TestVolume::fadeInAboveTheTargetOnlyReleases()
{
    // With the bar already above the target, the first tick releases the fade-in without moving the bar.
    Volume f;
    f.form().PlayAndText(1);
    f.bar()->setValue(80);
    QTest::mouseClick(f.fadeIn(), Qt::LeftButton);
    QCOMPARE(f.ticks(1), QList<int>{80});
    QVERIFY(!f.fadeIn()->isDown());
}

void TestVolume::fadeOutFrom100Takes100Ticks()
{
    // A fade-out from 100 reaches 0 after 100 ticks and releases its button on the 101st; the song plays on.
    Volume f;
    f.form().PlayAndText(2);
    QCOMPARE(f.bar()->value(), 100);
    QTest::mouseClick(f.fadeOut(), Qt::LeftButton);
    const QList<int> positions = f.ticks(100);
    QCOMPARE(positions.constFirst(), 99);
    QCOMPARE(positions.constLast(), 0);
    QVERIFY(f.fadeOut()->isDown());
    f.ticks(1);
    QVERIFY(!f.fadeOut()->isDown());
    QCOMPARE(f.mixer.current(), quint32(0));
    QCOMPARE(f.player.mode(), platform::MediaMode::Playing);
}

void TestVolume::fadesPauseWhileStopped()
{
    // A fade waits while the play button is up and goes on when it is down again.
    Volume f;
    f.form().PlayAndText(1);
    QTest::mouseClick(f.play(), Qt::LeftButton); // stop: bar to 1
    f.bar()->setValue(40);
    QTest::mouseClick(f.fadeOut(), Qt::LeftButton);
    QCOMPARE(f.ticks(3), (QList<int>{40, 40, 40}));
    QVERIFY(f.fadeOut()->isDown());
    f.play()->setDown(true);
    QCOMPARE(f.ticks(2), (QList<int>{39, 38}));
}

void TestVolume::fadeButtonsReleaseEachOther()
{
    // Pressing the fade-in during a fade-out releases the fade-out; the fade-in starts from where the bar is.
    Volume f;
    f.form().PlayAndText(1);
    QTest::mouseClick(f.fadeOut(), Qt::LeftButton);
    f.ticks(5);
    QTest::mouseClick(f.fadeIn(), Qt::LeftButton);
    QVERIFY(!f.fadeOut()->isDown());
    QVERIFY(f.fadeIn()->isDown());
    QCOMPARE(f.ticks(1), QList<int>{46});
    // A second click on the same button cancels its fade, the bar left where it is.
    QTest::mouseClick(f.fadeIn(), Qt::LeftButton);
    QVERIFY(!f.fadeIn()->isDown());
    QCOMPARE(f.ticks(1), QList<int>{46});
}

void TestVolume::faderSpeed_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QString>("caption");
    QTest::newRow("slowest") << 200 << 550 << "550 mc";
    QTest::newRow("middle") << 225 << 300 << "300 mc";
    QTest::newRow("fastest") << 254 << 10 << "10 mc";
}

void TestVolume::faderSpeed()
{
    // The fader's tick is (255 - position) x 10 ms, shown as "<ms> mc"; it starts at 250 ms.
    QFETCH(int, position);
    QFETCH(int, interval);
    QFETCH(QString, caption);
    Volume f;
    QCOMPARE(f.form().TimerFader().interval(), 250);
    QCOMPARE(f.find<QLabel>("LabelSpFader")->text(), QStringLiteral("250 mc "));
    f.find<QScrollBar>("ScrollBarFader")->setValue(position);
    QCOMPARE(f.form().TimerFader().interval(), interval);
    QCOMPARE(f.find<QLabel>("LabelSpFader")->text(), caption);
}

void TestVolume::withoutMixerTheBarReachesNoSoundCard()
{
    // Without a speaker control: the message at start-up; the bar and fades still move, the label stays.
    Volume f(0, MemoryMixer::Presence::Absent);
    QCOMPARE(f.dialogs.texts(), QStringList{QString::fromUtf8("MIXER не найден !")});
    QCOMPARE(f.dialogs.shown().constFirst().messageKind, platform::MessageKind::Plain);
    QVERIFY(!f.state.MixerReady);
    // Start-up went on: the pane placed and hidden, theme 1 selected.
    QVERIFY(f.form().RichEdit() && f.form().RichEdit()->isHidden());
    QVERIFY(f.form().SpeedButtonTema(1)->isDown());
    f.form().PlayAndText(1);
    QCOMPARE(f.bar()->value(), 50);
    QTest::mouseClick(f.fadeOut(), Qt::LeftButton);
    QCOMPARE(f.ticks(2), (QList<int>{49, 48}));
    QCOMPARE(f.label(), QStringLiteral("50%"));
    QVERIFY(f.mixer.writes().isEmpty());
    f.program.reset();
    QCOMPARE(f.mixer.closeCount(), 0);
}

void TestVolume::shutdownLeavesTheSpeakerAt1()
{
    // Closing the program puts the bar at 1, so the speaker is left at 655, then closes the mixer.
    Volume f;
    f.form().PlayAndText(1);
    f.program.reset();
    QCOMPARE(f.mixer.writes().constLast(), quint32(655));
    QCOMPARE(f.mixer.closeCount(), 1);
    QVERIFY(!f.mixer.isOpen());
}

QTEST_MAIN(TestVolume)
#include "tst_volume.moc"
