#include "mediafixtures.h"
#include "platform/media/audioplayer.h"
#include "support/tempdrive.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstring>

using namespace mediafixtures;
using platform::MediaMode;
using platform::SoundFileType;

constexpr int deadlineMs = 20000;
// The output's format as the player opens it: 48 kHz, stereo, 32-bit float.
constexpr int outputRate = 48000;

/** Real playback through SDL's disk output: what reaches the output is the song's samples. */
class TestMediaDisk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void outputHoldsTheSamples_data();
    void outputHoldsTheSamples();
    void midiIsHeard_data();
    void midiIsHeard();
    void nextMidiSongStartsSilent();
    void startedSongWaitsWhileItMayNotSound_data();
    void startedSongWaitsWhileItMayNotSound();

private:
    /** The output's frames so far, as left and right floats. */
    std::vector<float> output() const;

    QTemporaryDir m_outputDir;
    TempDrive m_drive;
};

void TestMediaDisk::initTestCase()
{
    // The output opens on first use, so the driver is chosen before any song is opened.
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_outputDir.filePath("output.raw")));
    m_drive.makeFolder(QStringLiteral("C:\\SONGS"));
}

std::vector<float> TestMediaDisk::output() const
{
    QFile file(m_outputDir.filePath("output.raw"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::vector<float> samples(size_t(bytes.size()) / sizeof(float));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    return samples;
}

void TestMediaDisk::outputHoldsTheSamples_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("fromMs");
    QTest::newRow("stereo at the output's rate") << outputRate << 2 << 0;
    QTest::newRow("mono at half the rate") << outputRate / 2 << 1 << 0;
    QTest::newRow("stereo from 37 ms") << outputRate << 2 << 37;
    QTest::newRow("mono at half the rate from 61 ms") << outputRate / 2 << 1 << 61;
}

void TestMediaDisk::outputHoldsTheSamples()
{
    // Every sample of the song from the position set reaches the output in order; at half the
    // rate every other frame is the song's own sample.
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(int, fromMs);
    const qint64 frames = rate / 10;
    const QString path = QStringLiteral("C:\\SONGS\\pattern%1.wav").arg(rate);
    writeTone(m_drive.host(path), SoundFileType::WavFloat, rate, channels, frames, true);
    auto player = platform::createAudioPlayer(m_drive.paths());
    player->setFileName(path);
    player->open();
    player->setPosition(fromMs);
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(player->mode(), MediaMode::Stopped, deadlineMs);
    QCOMPARE(player->position(), player->length());

    const qint64 first = (qint64(fromMs) * rate + 999) / 1000;
    const int step = outputRate / rate;
    const auto sample = [&](qint64 frame, int channel) {
        return patternSample(frame, channels == 1 ? 0 : channel);
    };
    const auto startOf = [&](const std::vector<float> &out) -> qint64 {
        for (size_t i = 0; i + 1 < out.size(); i += 2) {
            if (out[i] == sample(first, 0) && out[i + 1] == sample(first, 1))
                return qint64(i / 2);
        }
        return -1;
    };
    const auto complete = [&] {
        const std::vector<float> out = output();
        const qint64 start = startOf(out);
        return start >= 0 && size_t(2 * (start + (frames - first) * step)) <= out.size();
    };
    QTRY_VERIFY_WITH_TIMEOUT(complete(), deadlineMs);
    const std::vector<float> out = output();
    const qint64 start = startOf(out);
    for (qint64 frame = first; frame < frames; ++frame) {
        const size_t at = size_t(2 * (start + (frame - first) * step));
        QCOMPARE(out[at], sample(frame, 0));
        QCOMPARE(out[at + 1], sample(frame, 1));
    }
}

void TestMediaDisk::midiIsHeard_data()
{
    QTest::addColumn<int>("fromMs");
    QTest::newRow("from the start") << 0;
    QTest::newRow("from its last moments") << 1900;
    QTest::newRow("from inside a held chord") << 1500;
}

void TestMediaDisk::midiIsHeard()
{
    // A MIDI song is synthesised into sound at the output, also from inside a held chord.
    QFETCH(int, fromMs);
    const QString path = QStringLiteral("C:\\SONGS\\chord.mid");
    m_drive.write(path, smf(0, 480,
                            {Track()
                                 .event(0, {0xC0, 19})
                                 .event(0, {0x90, 60, 110})
                                 .event(0, {0x90, 64, 110})
                                 .event(1920, {0x80, 60, 0})
                                 .event(0, {0x80, 64, 0})
                                 .end(0)}));
    auto player = platform::createAudioPlayer(m_drive.paths());
    player->setFileName(path);
    player->open();
    player->setPosition(fromMs);
    const size_t before = output().size();
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(player->mode(), MediaMode::Stopped, deadlineMs);
    QCOMPARE(player->position(), qint64(2000));
    // Wait until the output holds at least the song's span, then look at what it holds.
    const size_t span = size_t(2 * (2000 - fromMs) * outputRate / 1000);
    QTRY_VERIFY_WITH_TIMEOUT(output().size() >= before + span, deadlineMs);
    const std::vector<float> out = output();
    float peak = 0;
    for (size_t i = before; i < out.size(); ++i)
        peak = std::max(peak, std::abs(out[i]));
    QVERIFY2(peak > 0.01f, qPrintable(QString::number(peak)));
}

void TestMediaDisk::nextMidiSongStartsSilent()
{
    // Nothing of a MIDI song, not its release nor its reverb, sounds on in the next one.
    const QString loud = QStringLiteral("C:\\SONGS\\loud.mid");
    const QString rest = QStringLiteral("C:\\SONGS\\rest.mid");
    m_drive.write(loud, smf(0, 480,
                            {Track()
                                 .event(0, {0xC0, 19})
                                 .event(0, {0x90, 60, 127})
                                 .event(0, {0x90, 67, 127})
                                 .event(480, {0x80, 60, 0})
                                 .event(0, {0x80, 67, 0})
                                 .end(0)}));
    m_drive.write(rest, smf(0, 480, {Track().end(480)}));
    auto player = platform::createAudioPlayer(m_drive.paths());
    player->setFileName(loud);
    player->open();
    player->setPosition(400);
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(player->mode(), MediaMode::Stopped, deadlineMs);
    player->setFileName(rest);
    player->open();
    const size_t before = output().size();
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(player->mode(), MediaMode::Stopped, deadlineMs);
    const size_t span = size_t(2 * 500 * outputRate / 1000);
    QTRY_VERIFY_WITH_TIMEOUT(output().size() >= before + span, deadlineMs);
    // The output's file lags the player by a buffer or two, so the first 100 ms may still hold
    // the end of the loud song itself.
    const std::vector<float> out = output();
    float peak = 0;
    for (size_t i = before + span / 5; i < before + span; ++i)
        peak = std::max(peak, std::abs(out[i]));
    QVERIFY2(peak < 0.01f, qPrintable(QString::number(peak)));
}

void TestMediaDisk::startedSongWaitsWhileItMayNotSound_data()
{
    QTest::addColumn<bool>("allowed");
    QTest::newRow("allowed after 100 ms of silence") << true;
    QTest::newRow("never allowed: sounds after 300 ms") << false;
}

void TestMediaDisk::startedSongWaitsWhileItMayNotSound()
{
    // A started song gives silence, standing at 0, until it may sound, or for 300 ms at most;
    // then every sample follows.
    QFETCH(bool, allowed);
    const qint64 frames = outputRate / 10;
    const QString path = QStringLiteral("C:\\SONGS\\held.wav");
    writeTone(m_drive.host(path), SoundFileType::WavFloat, outputRate, 2, frames, true);
    std::atomic<bool> mayStart{false};
    auto player = platform::createAudioPlayer(m_drive.paths(), [&mayStart] { return mayStart.load(); });
    player->setFileName(path);
    player->open();
    const qint64 before = qint64(output().size() / 2);
    player->play();
    const qint64 heldFrames = outputRate / 10;
    if (allowed) {
        QTRY_VERIFY_WITH_TIMEOUT(qint64(output().size() / 2) >= before + heldFrames, deadlineMs);
        QCOMPARE(player->position(), qint64(0));
        QCOMPARE(player->mode(), MediaMode::Playing);
        mayStart = true;
    }
    QTRY_COMPARE_WITH_TIMEOUT(player->mode(), MediaMode::Stopped, deadlineMs);
    const auto startOf = [&](const std::vector<float> &out) -> qint64 {
        for (size_t i = size_t(2 * before); i + 1 < out.size(); i += 2) {
            if (out[i] == patternSample(0, 0) && out[i + 1] == patternSample(0, 1))
                return qint64(i / 2);
        }
        return -1;
    };
    QTRY_VERIFY_WITH_TIMEOUT(startOf(output()) >= 0 &&
                                 qint64(output().size() / 2) >= startOf(output()) + frames,
                             deadlineMs);
    const std::vector<float> out = output();
    const qint64 start = startOf(out);
    const qint64 silent = start - before;
    if (allowed) {
        QVERIFY2(silent >= heldFrames, qPrintable(QString::number(silent)));
    } else {
        // Held in whole buffers of the output: 300 ms, and at most two buffers more.
        QVERIFY2(silent >= outputRate * 3 / 10 && silent <= outputRate * 3 / 10 + 2 * 4096,
                 qPrintable(QString::number(silent)));
    }
    for (qint64 frame = 0; frame < frames; ++frame) {
        QCOMPARE(out[size_t(2 * (start + frame))], patternSample(frame, 0));
        QCOMPARE(out[size_t(2 * (start + frame) + 1)], patternSample(frame, 1));
    }
}

QTEST_GUILESS_MAIN(TestMediaDisk)
#include "tst_mediadisk.moc"
