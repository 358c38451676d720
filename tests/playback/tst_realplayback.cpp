#include "platform/media/audioplayer.h"
#include "platform/mixer/memorymixer.h"
#include "platform/shell/recordingshell.h"
#include "platform/sysinfo/fakesysteminfo.h"
#include "platform/richtext/richtextedit.h"
#include "support/programfixture.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QSlider>
#include <QTest>

class TestRealPlayback : public QObject
{
    Q_OBJECT

private slots:
    void demoSongAdvancesThroughTheRealPlayer();
};

void TestRealPlayback::demoSongAdvancesThroughTheRealPlayer()
{
    // A demo song activated from the demo kit plays through the real decoder and output; the poll follows it.
    TempDrive drive;
    QVERIFY(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), QStringLiteral(KARVEL_DEMO_DRIVE) + u'/' + u'.',
                                                     drive.root()}) == 0);
    platform::ProfileStore profiles(drive.paths());
    ScriptedDialogs dialogs;
    platform::ErrorBoundary boundary(dialogs);
    const std::unique_ptr<platform::MediaPlayer> player = platform::createAudioPlayer(drive.paths());
    platform::MemoryMixer mixer(platform::MemoryMixer::Presence::Present, 50 * 655);
    platform::FakeSystemInfo system;
    platform::RecordingShell shell;
    const Services services{drive.paths(), profiles, dialogs, boundary, *player, mixer, system, shell};
    BaseState state;
    Program program(state, services);
    TBaseForm &form = program.BaseForm;

    boundary.run([&] { form.PlayAndText(1); });
    QVERIFY(dialogs.shown().isEmpty());
    QCOMPARE(player->mode(), platform::MediaMode::Playing);
    auto *bar = form.findChild<QSlider *>(QStringLiteral("TrackBarSong"));
    QVERIFY(bar->maximum() > 10000);
    QVERIFY(!form.RichEdit()->toPlainText().isEmpty());

    // The poll runs on its own timer here; the sound device's clock moves the song on.
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 600, 15000);
    QVERIFY(player->position() >= 600);
    const QString elapsed = form.findChild<QLabel *>(QStringLiteral("LabelSongTimeBeg"))->text();
    QVERIFY2(elapsed != QStringLiteral("00:00 "), qPrintable(elapsed));
    QVERIFY(dialogs.shown().isEmpty());
}

QTEST_MAIN(TestRealPlayback)
#include "tst_realplayback.moc"
