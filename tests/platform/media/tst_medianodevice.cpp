#include "mediafixtures.h"
#include "platform/media/audioplayer.h"
#include "platform/media/testmediaplayer.h"
#include "platform/platformerror.h"
#include "support/tempdrive.h"

#include <QTest>

using namespace mediafixtures;
using platform::MediaMode;

/** Without a sound output the real player fails clearly, at once; the test device still works. */
class TestMediaNoDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void openFailsWithAClearError();

private:
    TempDrive m_drive;
};

void TestMediaNoDevice::initTestCase()
{
    qputenv("SDL_AUDIODRIVER", "nosuchdriver");
    m_drive.makeFolder(QStringLiteral("C:\\SONGS"));
    writeTone(m_drive.host(QStringLiteral("C:\\SONGS\\a.wav")), platform::SoundFileType::Wav16,
              8000, 1, 800);
}

void TestMediaNoDevice::openFailsWithAClearError()
{
    // Each open reports that no sound output can be opened, and leaves nothing open.
    auto player = platform::createAudioPlayer(m_drive.paths());
    player->setFileName(QStringLiteral("C:\\SONGS\\a.wav"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            player->open();
            QFAIL("opened");
        } catch (const platform::PlatformError &error) {
            QVERIFY2(error.text().startsWith("No sound output device can be opened"),
                     qPrintable(error.text()));
        }
        QCOMPARE(player->mode(), MediaMode::NotOpen);
        player->play();
        QCOMPARE(player->position(), qint64(0));
    }
    platform::TestMediaPlayer testPlayer(m_drive.paths());
    testPlayer.setFileName(QStringLiteral("C:\\SONGS\\a.wav"));
    testPlayer.open();
    QCOMPARE(testPlayer.length(), qint64(100));
}

QTEST_GUILESS_MAIN(TestMediaNoDevice)
#include "tst_medianodevice.moc"
