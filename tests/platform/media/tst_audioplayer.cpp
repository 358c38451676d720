#include "mediafixtures.h"
#include "platform/media/audioplayer.h"
#include "platform/platformerror.h"
#include "support/tempdrive.h"

#include <QFile>
#include <QTest>
#include <sys/stat.h>

using namespace mediafixtures;
using platform::MediaMode;
using platform::MediaPlayer;
using platform::SoundFileType;

// Real playback runs on the output's own clock; this is a deadline, never a wait that must pass.
constexpr int deadlineMs = 20000;

/** The real player on SDL's dummy output: lengths, seeking, the play rules and open errors. */
class TestAudioPlayer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void lengthOfSoundFiles_data();
    void lengthOfSoundFiles();
    void mp3LengthIsGapless();
    void midiLengthFollowsTempoChanges();
    void typeByContentForOtherNames_data();
    void typeByContentForOtherNames();
    void setPositionClampsAndStops_data();
    void setPositionClampsAndStops();
    void playsOnAndStopKeepsPosition();
    void playsToTheEndAndStops_data();
    void playsToTheEndAndStops();
    void playAtTheEndStartsAgain();
    void seekInMidiAcrossTempoChanges();
    void badFilesAreRefused_data();
    void badFilesAreRefused();
    void unreadableFileIsRefused();
    void openClosesWhatWasOpen();
    void nothingOpenDoesNothing();
    void damagedMiddleEndsPlayback_data();
    void damagedMiddleEndsPlayback();

private:
    QString host(const QString &windowsPath) { return m_drive->host(windowsPath); }
    void openFile(const QString &windowsPath);

    std::unique_ptr<TempDrive> m_drive;
    std::unique_ptr<MediaPlayer> m_player;
};

void TestAudioPlayer::init()
{
    m_drive = std::make_unique<TempDrive>();
    m_drive->makeFolder(QStringLiteral("C:\\SONGS"));
    m_player = platform::createAudioPlayer(m_drive->paths());
}

void TestAudioPlayer::cleanup()
{
    m_player.reset();
    m_drive.reset();
}

void TestAudioPlayer::openFile(const QString &windowsPath)
{
    m_player->setFileName(windowsPath);
    m_player->open();
}

void TestAudioPlayer::lengthOfSoundFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<SoundFileType>("type");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<qint64>("frames");

    QTest::newRow("wav 44.1 kHz stereo")
        << "a.wav" << SoundFileType::Wav16 << 44100 << 2 << qint64(44100 * 3 + 17);
    QTest::newRow("wav 48 kHz mono float")
        << "b.wav" << SoundFileType::WavFloat << 48000 << 1 << qint64(4800);
    QTest::newRow("wav 22.05 kHz, under a millisecond")
        << "c.wav" << SoundFileType::Wav16 << 22050 << 1 << qint64(3);
    QTest::newRow("cyrillic name") << QString::fromUtf8("песня.wav") << SoundFileType::Wav16
                                   << 32000 << 2 << qint64(32000 * 2);
    QTest::newRow("flac") << "d.flac" << SoundFileType::Flac << 44100 << 2 << qint64(66150);
    QTest::newRow("ogg") << "e.ogg" << SoundFileType::Ogg << 44100 << 2 << qint64(66150);
}

void TestAudioPlayer::lengthOfSoundFiles()
{
    // Length is the sample count in whole milliseconds, Frames a tenth of it.
    QFETCH(QString, name);
    QFETCH(SoundFileType, type);
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(qint64, frames);
    writeTone(host("C:\\SONGS\\" + name), type, rate, channels, frames);
    openFile("C:\\songs\\" + name.toUpper());
    QCOMPARE(m_player->length(), frames * 1000 / rate);
    QCOMPARE(m_player->frames(), frames * 1000 / rate / 10);
    QCOMPARE(m_player->position(), qint64(0));
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
}

void TestAudioPlayer::mp3LengthIsGapless()
{
    // An MP3's length is the sound's, within one MPEG frame (1152 samples), not the padded one.
    const qint64 frames = 44100 * 7 / 2;
    writeTone(host("C:\\SONGS\\a.mp3"), SoundFileType::Mp3, 44100, 2, frames);
    openFile(QStringLiteral("C:\\SONGS\\a.mp3"));
    QVERIFY2(qAbs(m_player->length() - 3500) <= 1152 * 1000 / 44100,
             qPrintable(QString::number(m_player->length())));
}

void TestAudioPlayer::midiLengthFollowsTempoChanges()
{
    // A MIDI song's length is exact in milliseconds across its tempo changes.
    m_drive->write(QStringLiteral("C:\\SONGS\\tempo.mid"), tempoChangeSong());
    openFile(QStringLiteral("C:\\SONGS\\tempo.mid"));
    QCOMPARE(m_player->length(), qint64(2250));
    QCOMPARE(m_player->frames(), qint64(225));
}

void TestAudioPlayer::typeByContentForOtherNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::newRow("midi named .kar") << "song.kar"
                                     << "midi";
    QTest::newRow("midi without extension") << "song"
                                            << "midi";
    QTest::newRow("wav named .dat") << "song.dat"
                                    << "wav";
    QTest::newRow("mp3 named .snd") << "song.snd"
                                    << "mp3";
}

void TestAudioPlayer::typeByContentForOtherNames()
{
    // A name with an unknown extension is opened by what the file holds.
    QFETCH(QString, name);
    QFETCH(QString, kind);
    if (kind == u"midi")
        m_drive->write("C:\\SONGS\\" + name, tempoChangeSong());
    else
        writeTone(host("C:\\SONGS\\" + name),
                  kind == u"wav" ? SoundFileType::Wav16 : SoundFileType::Mp3, 8000, 1, 8000);
    openFile("C:\\SONGS\\" + name);
    if (kind == u"mp3")
        QVERIFY(qAbs(m_player->length() - 1000) <= 1152 * 1000 / 8000);
    else
        QCOMPARE(m_player->length(), kind == u"midi" ? qint64(2250) : qint64(1000));
}

void TestAudioPlayer::setPositionClampsAndStops_data()
{
    QTest::addColumn<qint64>("requested");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("before the start") << qint64(-5) << qint64(0);
    QTest::newRow("start") << qint64(0) << qint64(0);
    QTest::newRow("one millisecond") << qint64(1) << qint64(1);
    QTest::newRow("inside") << qint64(1234) << qint64(1234);
    QTest::newRow("last millisecond") << qint64(2999) << qint64(2999);
    QTest::newRow("the end") << qint64(3000) << qint64(3000);
    QTest::newRow("past the end") << qint64(3500) << qint64(3000);
}

void TestAudioPlayer::setPositionClampsAndStops()
{
    // Position reads back what was set, clamped to the song, and the player stands stopped.
    QFETCH(qint64, requested);
    QFETCH(qint64, expected);
    writeTone(host("C:\\SONGS\\a.wav"), SoundFileType::Wav16, 44100, 2, 44100 * 3 + 30);
    openFile(QStringLiteral("C:\\SONGS\\a.wav"));
    m_player->play();
    m_player->setPosition(requested);
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
    QCOMPARE(m_player->position(), expected);
}

void TestAudioPlayer::playsOnAndStopKeepsPosition()
{
    // Play moves the position on from where it stood; Stop keeps it; Play goes on from there.
    writeTone(host("C:\\SONGS\\a.wav"), SoundFileType::Wav16, 44100, 2, 44100 * 60);
    openFile(QStringLiteral("C:\\SONGS\\a.wav"));
    m_player->setPosition(10000);
    m_player->play();
    QCOMPARE(m_player->mode(), MediaMode::Playing);
    QTRY_VERIFY_WITH_TIMEOUT(m_player->position() > 10100, deadlineMs);
    m_player->stop();
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
    const qint64 stoppedAt = m_player->position();
    QVERIFY(stoppedAt > 10100);
    QCOMPARE(m_player->position(), stoppedAt);
    m_player->play();
    QVERIFY(m_player->position() >= stoppedAt);
    QTRY_VERIFY_WITH_TIMEOUT(m_player->position() > stoppedAt + 50, deadlineMs);
}

void TestAudioPlayer::playsToTheEndAndStops_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("wav, rate of the output") << "a.wav";
    QTest::newRow("wav, resampled mono") << "b.wav";
    QTest::newRow("mp3") << "c.mp3";
    QTest::newRow("midi") << "d.mid";
}

void TestAudioPlayer::playsToTheEndAndStops()
{
    // A song played to its end stops by itself with the position at the length.
    QFETCH(QString, name);
    writeTone(host("C:\\SONGS\\a.wav"), SoundFileType::Wav16, 48000, 2, 12000);
    writeTone(host("C:\\SONGS\\b.wav"), SoundFileType::Wav16, 11025, 1, 3000);
    writeTone(host("C:\\SONGS\\c.mp3"), SoundFileType::Mp3, 44100, 2, 11025);
    m_drive->write(QStringLiteral("C:\\SONGS\\d.mid"),
                   smf(0, 480, {Track().tempo(0, 200000).note(0, 60, 480).end(240)}));
    openFile("C:\\SONGS\\" + name);
    const qint64 length = m_player->length();
    QVERIFY(length > 200);
    m_player->play();
    QTRY_COMPARE_WITH_TIMEOUT(m_player->mode(), MediaMode::Stopped, deadlineMs);
    QCOMPARE(m_player->position(), length);
}

void TestAudioPlayer::playAtTheEndStartsAgain()
{
    // Play from the very end starts the song from the beginning.
    writeTone(host("C:\\SONGS\\a.wav"), SoundFileType::Wav16, 44100, 2, 44100 * 5);
    openFile(QStringLiteral("C:\\SONGS\\a.wav"));
    m_player->setPosition(m_player->length());
    m_player->play();
    QCOMPARE(m_player->mode(), MediaMode::Playing);
    QVERIFY(m_player->position() < 1000);
    QTRY_VERIFY_WITH_TIMEOUT(m_player->position() > 0, deadlineMs);
}

void TestAudioPlayer::seekInMidiAcrossTempoChanges()
{
    // Seeking a MIDI song lands on the millisecond asked for and plays on from there.
    m_drive->write(QStringLiteral("C:\\SONGS\\tempo.mid"), tempoChangeSong());
    openFile(QStringLiteral("C:\\SONGS\\tempo.mid"));
    m_player->setPosition(1700);
    QCOMPARE(m_player->position(), qint64(1700));
    m_player->play();
    QTRY_COMPARE_WITH_TIMEOUT(m_player->mode(), MediaMode::Stopped, deadlineMs);
    QCOMPARE(m_player->position(), qint64(2250));
}

void TestAudioPlayer::badFilesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    const QByteArray midi = tempoChangeSong();
    QTest::newRow("missing") << "none.wav" << QByteArray() << "does not exist";
    QTest::newRow("folder") << "folder.wav" << QByteArray() << "folder";
    QTest::newRow("named pipe") << "pipe.wav" << QByteArray() << "not a regular file";
    QTest::newRow("empty wav") << "empty.wav" << QByteArray("") << "empty";
    QTest::newRow("empty midi") << "empty.mid" << QByteArray("") << "empty";
    QTest::newRow("wav cut in its header")
        << "cut.wav" << QByteArray("RIFF\x24\x10\x00\x00WAVEfmt ", 16) << "damaged or truncated";
    QTest::newRow("mp3 cut in its tag")
        << "cut.mp3" << QByteArray("ID3\x03\x00\x00\x00\x00\x10\x00", 10) << "damaged or truncated";
    QTest::newRow("midi cut in a track") << "cut.mid" << midi.left(midi.size() - 4) << "truncated";
    QTest::newRow("midi with a damaged track")
        << "bad.mid" << smf(0, 96, {Track().event(0, {60, 100})}) << "damaged";
    QTest::newRow("text named .mp3")
        << "words.mp3" << QByteArray("These are the words.\r\n") << "not a sound file";
    QTest::newRow("text named .wav")
        << "words.wav" << QByteArray("These are the words.\r\n") << "not a sound file";
    QTest::newRow("text named .mid")
        << "words.mid" << QByteArray("These are the words.\r\n") << "not a MIDI file";
    QTest::newRow("text, unknown name")
        << "words.txt" << QByteArray("These are the words.\r\n") << "not a sound file";
    QByteArray noise(4096, 0);
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 2654435761u) >> 13);
    QTest::newRow("noise named .ogg") << "noise.ogg" << noise << "not a sound file";
}

void TestAudioPlayer::badFilesAreRefused()
{
    // A file that cannot be played is refused with its Windows name and the reason.
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString path = "C:\\SONGS\\" + name;
    if (name.startsWith(u"folder"))
        m_drive->makeFolder(path);
    else if (name.startsWith(u"pipe"))
        QCOMPARE(mkfifo(QFile::encodeName(host(path)).constData(), 0600), 0);
    else if (!name.startsWith(u"none"))
        m_drive->write(path, bytes);
    writeTone(host("C:\\SONGS\\good.wav"), SoundFileType::Wav16, 8000, 1, 800);
    openFile(QStringLiteral("C:\\SONGS\\good.wav"));
    try {
        openFile(path);
        QFAIL("opened");
    } catch (const platform::PlatformError &error) {
        QVERIFY2(error.text().startsWith("Cannot open the file " + path + ": "),
                 qPrintable(error.text()));
        QVERIFY2(error.text().contains(reason), qPrintable(error.text()));
    }
    QCOMPARE(m_player->mode(), MediaMode::NotOpen);
    QCOMPARE(m_player->length(), qint64(0));
}

void TestAudioPlayer::unreadableFileIsRefused()
{
    // A file the user may not read is refused as unreadable.
    const QString path = QStringLiteral("C:\\SONGS\\locked.wav");
    writeTone(host(path), SoundFileType::Wav16, 8000, 1, 800);
    QFile::setPermissions(host(path), QFileDevice::Permissions());
    QFile probe(host(path));
    if (probe.open(QIODevice::ReadOnly))
        QSKIP("this user reads every file");
    m_player->setFileName(path);
    QVERIFY_THROWS_EXCEPTION(platform::PlatformError, m_player->open());
    try {
        m_player->open();
    } catch (const platform::PlatformError &error) {
        QVERIFY2(error.text().contains("cannot be read"), qPrintable(error.text()));
    }
}

void TestAudioPlayer::openClosesWhatWasOpen()
{
    // Open first closes the song that was open, also when the new one then fails.
    writeTone(host("C:\\SONGS\\a.wav"), SoundFileType::Wav16, 44100, 2, 44100 * 10);
    openFile(QStringLiteral("C:\\SONGS\\a.wav"));
    m_player->play();
    QTRY_VERIFY_WITH_TIMEOUT(m_player->position() > 0, deadlineMs);
    m_drive->write(QStringLiteral("C:\\SONGS\\tempo.mid"), tempoChangeSong());
    openFile(QStringLiteral("C:\\SONGS\\tempo.mid"));
    QCOMPARE(m_player->mode(), MediaMode::Stopped);
    QCOMPARE(m_player->position(), qint64(0));
    QCOMPARE(m_player->length(), qint64(2250));
    m_player->play();
    m_player->setFileName(QStringLiteral("C:\\SONGS\\none.wav"));
    QVERIFY_THROWS_EXCEPTION(platform::PlatformError, m_player->open());
    QCOMPARE(m_player->mode(), MediaMode::NotOpen);
}

void TestAudioPlayer::nothingOpenDoesNothing()
{
    // With nothing open the player reports zeros and ignores play, stop and seeking.
    QCOMPARE(m_player->mode(), MediaMode::NotOpen);
    m_player->play();
    m_player->setPosition(100);
    m_player->stop();
    QCOMPARE(m_player->mode(), MediaMode::NotOpen);
    QCOMPARE(m_player->position(), qint64(0));
    QCOMPARE(m_player->length(), qint64(0));
    QCOMPARE(m_player->frames(), qint64(0));
    writeTone(host("C:\\SONGS\\a.wav"), SoundFileType::Wav16, 8000, 1, 800);
    openFile(QStringLiteral("C:\\SONGS\\a.wav"));
    m_player->close();
    m_player->play();
    QCOMPARE(m_player->mode(), MediaMode::NotOpen);
    QCOMPARE(m_player->length(), qint64(0));
}

void TestAudioPlayer::damagedMiddleEndsPlayback_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("damage");
    QTest::newRow("mp3 with noise in the middle") << "a.mp3" << 0;
    QTest::newRow("mp3 cut in half") << "b.mp3" << 1;
    QTest::newRow("wav cut in half") << "c.wav" << 1;
}

void TestAudioPlayer::damagedMiddleEndsPlayback()
{
    // Damage inside a song ends its playback there: the player stops, and can play again.
    QFETCH(QString, name);
    QFETCH(int, damage);
    const QString path = "C:\\SONGS\\" + name;
    writeTone(host(path), name.endsWith(u"wav") ? SoundFileType::Wav16 : SoundFileType::Mp3, 44100,
              2, 44100);
    QByteArray bytes = m_drive->read(path);
    if (damage == 0) {
        for (qsizetype i = bytes.size() / 3; i < bytes.size() / 2; ++i)
            bytes[i] = char((i * 2654435761u) >> 11);
    } else {
        bytes.truncate(bytes.size() / 2);
    }
    m_drive->write(path, bytes);
    openFile(path);
    m_player->play();
    QTRY_COMPARE_WITH_TIMEOUT(m_player->mode(), MediaMode::Stopped, deadlineMs);
    QVERIFY(m_player->position() <= m_player->length());
    m_player->play();
    QTRY_COMPARE_WITH_TIMEOUT(m_player->mode(), MediaMode::Stopped, deadlineMs);
}

QTEST_GUILESS_MAIN(TestAudioPlayer)
#include "tst_audioplayer.moc"
