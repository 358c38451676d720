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
    QTest::newRow("stereo at the output's rate") << outputRate << 2;
    QTest::newRow("mono at half the rate") << outputRate / 2 << 1;
}

void TestMediaDisk::outputHoldsTheSamples()
{
    // Every sample of the song reaches the output in order; at half the rate every other frame
    // is the song's own sample.
    QFETCH(int, rate);
    QFETCH(int, channels);
    const qint64 frames = rate / 10;
    const QString path = QStringLiteral("C:\\SONGS\\pattern%1.wav").arg(rate);
    writeTone(m_drive.host(path), SoundFileType::WavFloat, rate, channels, frames, true);
    auto player = platform::createAudioPlayer(m_drive.paths());
    player->setFileName(path);
    player->open();
    player->play();
    QTRY_COMPARE_WITH_TIMEOUT(player->mode(), MediaMode::Stopped, deadlineMs);
    QCOMPARE(player->position(), player->length());

    const int step = outputRate / rate;
    const auto sample = [&](qint64 frame, int channel) {
        return patternSample(frame, channels == 1 ? 0 : channel);
    };
    const auto startOf = [&](const std::vector<float> &out) -> qint64 {
        for (size_t i = 0; i + 1 < out.size(); i += 2) {
            if (out[i] == sample(0, 0) && out[i + 1] == sample(0, 1))
                return qint64(i / 2);
        }
        return -1;
    };
    const auto complete = [&] {
        const std::vector<float> out = output();
        const qint64 start = startOf(out);
        return start >= 0 && size_t(2 * (start + frames * step)) <= out.size();
    };
    QTRY_VERIFY_WITH_TIMEOUT(complete(), deadlineMs);
    const std::vector<float> out = output();
    const qint64 start = startOf(out);
    for (qint64 frame = 0; frame < frames; ++frame) {
        const size_t at = size_t(2 * (start + frame * step));
        QCOMPARE(out[at], sample(frame, 0));
        QCOMPARE(out[at + 1], sample(frame, 1));
    }
}

QTEST_GUILESS_MAIN(TestMediaDisk)
#include "tst_mediadisk.moc"
