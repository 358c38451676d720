#include "mediafixtures.h"
#include "platform/media/testmediaplayer.h"
#include "platform/platformerror.h"
#include "support/tempdrive.h"

#include <QTest>

using namespace mediafixtures;
using platform::MediaMode;
using platform::TestMediaPlayer;

/** The test device keeps the real player's rules on a clock the test moves. */
class TestTestMediaPlayer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void lengthAndErrorsComeFromTheFile();
    void clockMovesOnlyWhilePlaying();
    void stopsByItselfAtTheEnd();
    void playAtTheEndStartsAgain();
    void setPositionClampsAndStops_data();
    void setPositionClampsAndStops();
    void forcedLength();
    void nothingOpenDoesNothing();
    void callsAreLogged();

private:
    std::unique_ptr<TempDrive> m_drive;
    std::unique_ptr<TestMediaPlayer> m_player;
};

void TestTestMediaPlayer::init()
{
    m_drive = std::make_unique<TempDrive>();
    m_drive->makeFolder(QStringLiteral("C:\\SONGS"));
    writeTone(m_drive->host(QStringLiteral("C:\\SONGS\\two.wav")), platform::SoundFileType::Wav16,
              8000, 1, 16000);
    m_drive->write(QStringLiteral("C:\\SONGS\\tempo.mid"), tempoChangeSong());
    m_player = std::make_unique<TestMediaPlayer>(m_drive->paths());
    m_player->setFileName(QStringLiteral("C:\\Songs\\TWO.WAV"));
    m_player->open();
}

void TestTestMediaPlayer::cleanup()
{
    m_player.reset();
    m_drive.reset();
}

void TestTestMediaPlayer::lengthAndErrorsComeFromTheFile()
{
    // Open reads the real file: its length, and the real player's error for a bad one.
    QCOMPARE(m_player->length(), qint64(2000));
    QCOMPARE(m_player->frames(), qint64(200));
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
    m_player->setFileName(QStringLiteral("C:\\SONGS\\tempo.mid"));
    m_player->open();
    QCOMPARE(m_player->length(), qint64(2250));

    m_drive->write(QStringLiteral("C:\\SONGS\\bad.mp3"), "just words, no sound at all");
    m_player->setFileName(QStringLiteral("C:\\SONGS\\bad.mp3"));
    try {
        m_player->open();
        QFAIL("opened");
    } catch (const platform::PlatformError &error) {
        QVERIFY2(
            error.text().startsWith(QStringLiteral("Cannot open the file C:\\SONGS\\bad.mp3: ")),
            qPrintable(error.text()));
    }
    QCOMPARE(m_player->mode(), MediaMode::NotOpen);
    QCOMPARE(m_player->length(), qint64(0));
}

void TestTestMediaPlayer::clockMovesOnlyWhilePlaying()
{
    // advance() moves the position while playing; stopped, it stays.
    m_player->advance(300);
    QCOMPARE(m_player->position(), qint64(0));
    m_player->play();
    QCOMPARE(m_player->mode(), MediaMode::Playing);
    m_player->advance(500);
    QCOMPARE(m_player->position(), qint64(500));
    m_player->stop();
    m_player->advance(500);
    QCOMPARE(m_player->position(), qint64(500));
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
    m_player->play();
    m_player->advance(250);
    QCOMPARE(m_player->position(), qint64(750));
}

void TestTestMediaPlayer::stopsByItselfAtTheEnd()
{
    // Playing past the length stops at exactly the length.
    m_player->play();
    m_player->advance(1999);
    QCOMPARE(m_player->mode(), MediaMode::Playing);
    m_player->advance(500);
    QCOMPARE(m_player->position(), qint64(2000));
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
}

void TestTestMediaPlayer::playAtTheEndStartsAgain()
{
    // Play from the very end starts from the beginning; from anywhere else it plays on.
    m_player->setPosition(2000);
    m_player->play();
    QCOMPARE(m_player->position(), qint64(0));
    m_player->setPosition(1999);
    m_player->play();
    QCOMPARE(m_player->position(), qint64(1999));
}

void TestTestMediaPlayer::setPositionClampsAndStops_data()
{
    QTest::addColumn<qint64>("requested");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("before the start") << qint64(-40) << qint64(0);
    QTest::newRow("inside") << qint64(1234) << qint64(1234);
    QTest::newRow("the end") << qint64(2000) << qint64(2000);
    QTest::newRow("past the end") << qint64(9000) << qint64(2000);
}

void TestTestMediaPlayer::setPositionClampsAndStops()
{
    // Setting the position clamps it to the song and leaves the player stopped there.
    QFETCH(qint64, requested);
    QFETCH(qint64, expected);
    m_player->play();
    m_player->setPosition(requested);
    QCOMPARE(m_player->position(), expected);
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
}

void TestTestMediaPlayer::forcedLength()
{
    // A forced length replaces the file's, now and on later opens, until it is lifted.
    m_player->setPosition(1500);
    m_player->forceLength(1);
    QCOMPARE(m_player->length(), qint64(1));
    QCOMPARE(m_player->position(), qint64(1));
    m_player->forceLength(0);
    m_player->open();
    QCOMPARE(m_player->length(), qint64(0));
    m_player->play();
    QCOMPARE(m_player->mode(), MediaMode::Playing);
    m_player->advance(1);
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
    m_player->forceLength(std::nullopt);
    QCOMPARE(m_player->length(), qint64(2000));
}

void TestTestMediaPlayer::nothingOpenDoesNothing()
{
    // With nothing open the player reports zeros and ignores play, stop and seeking.
    m_player->close();
    m_player->play();
    m_player->setPosition(500);
    m_player->advance(500);
    m_player->stop();
    QCOMPARE(m_player->mode(), MediaMode::NotOpen);
    QCOMPARE(m_player->position(), qint64(0));
    QCOMPARE(m_player->length(), qint64(0));
    QCOMPARE(m_player->frames(), qint64(0));
}

void TestTestMediaPlayer::callsAreLogged()
{
    // Each call is logged in order, so a test can see what the program asked for.
    m_player->clearCalls();
    m_player->setPosition(10);
    m_player->play();
    m_player->stop();
    QCOMPARE(m_player->calls(), (QStringList{"setPosition 10", "play", "stop"}));
}

QTEST_GUILESS_MAIN(TestTestMediaPlayer)
#include "tst_testmediaplayer.moc"
