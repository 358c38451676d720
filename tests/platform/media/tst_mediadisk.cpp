#include "mediafixtures.h"
#include "platform/media/audioplayer.h"
#include "support/tempdrive.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
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
    void midiIsHeard();

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

void TestMediaDisk::midiIsHeard()
{
    // A MIDI song is synthesised into sound at the output, not silence.
    const QString path = QStringLiteral("C:\\SONGS\\chord.mid");
    m_drive.write(path, smf(0, 480,
                            {Track()
                                 .event(0, {0x90, 60, 110})
                                 .event(0, {0x90, 64, 110})
                                 .event(480, {0x80, 60, 0})
                                 .event(0, {0x80, 64, 0})
                                 .end(0)}));
    auto player = platform::createAudioPlayer(m_drive.paths());
    player->setFileName(path);
    player->open();
    const size_t before = output().size();
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(player->mode(), MediaMode::Stopped, deadlineMs);
    QCOMPARE(player->position(), qint64(500));
    const auto loudest = [&] {
        const std::vector<float> out = output();
        float peak = 0;
        for (size_t i = std::min(before, out.size()); i < out.size(); ++i)
            peak = std::max(peak, std::abs(out[i]));
        return peak;
    };
    QTRY_VERIFY_WITH_TIMEOUT(loudest() > 0.01f, deadlineMs);
}

QTEST_GUILESS_MAIN(TestMediaDisk)
#include "tst_mediadisk.moc"
