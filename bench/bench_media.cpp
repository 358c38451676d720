// The media player's speed and memory: click to sound, CPU while playing, memory of a long song.
// Each figure is printed as a counter beside its goal.

#include "comparison.h"
#include "platform/media/audioplayer.h"
#include "platform/media/decoder.h"
#include "platform/media/resampler.h"
#include "platform/media/soundfilewriter.h"
#include "platform/winpath.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <ctime>
#include <fstream>
#include <malloc.h>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

/** The benchmark's songs, made once in a temporary folder mapped as drive C. */
struct Songs
{
    QTemporaryDir dir;
    platform::WinPath paths;

    Songs()
    {
        // The dummy output by default; set SDL_AUDIODRIVER to measure a real one.
        if (!qEnvironmentVariableIsSet("SDL_AUDIODRIVER"))
            qputenv("SDL_AUDIODRIVER", "dummy");
        paths.mapDrive(QLatin1Char('C'), dir.path());
        writeTone("five.wav", platform::SoundFileType::Wav16, 44100, 2, 300);
        writeTone("five.mp3", platform::SoundFileType::Mp3, 44100, 2, 300);
        writeMidi("five.mid", 300);
    }

    QString host(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    void writeTone(const char *name, platform::SoundFileType type, int rate, int channels,
                   int seconds) const
    {
        platform::SoundFileWriter writer(host(name), type, rate, channels);
        std::vector<float> block(size_t(rate * channels));
        for (int s = 0; s < seconds; ++s) {
            for (int i = 0; i < rate; ++i) {
                const double t = double(s) + double(i) / rate;
                for (int c = 0; c < channels; ++c)
                    block[size_t(i * channels + c)] =
                        float(0.3 * std::sin(2 * M_PI * (220.0 + 110.0 * c + s % 7) * t));
            }
            writer.write(block.data(), rate);
        }
        writer.close();
    }

    /** Four-note chords on four channels, one each beat at 120 bpm. */
    void writeMidi(const char *name, int seconds) const
    {
        QByteArray track;
        const auto delta = [&](quint32 value) {
            QByteArray bytes(1, char(value & 0x7F));
            while (value >>= 7)
                bytes.prepend(char(0x80 | (value & 0x7F)));
            track.append(bytes);
        };
        const auto event = [&](quint32 d, std::initializer_list<int> bytes) {
            delta(d);
            for (int b : bytes)
                track.append(char(b));
        };
        for (int c = 0; c < 4; ++c)
            event(0, {0xC0 | c, c * 8});
        for (int beat = 0; beat < seconds * 2; ++beat) {
            for (int c = 0; c < 4; ++c)
                event(0, {0x90 | c, 48 + c * 7 + beat % 5, 90});
            for (int c = 0; c < 4; ++c)
                event(c == 0 ? 480 : 0, {0x80 | c, 48 + c * 7 + beat % 5, 0});
        }
        event(0, {0xFF, 0x2F, 0x00});
        QByteArray file = QByteArray::fromHex("4d546864000000060000000101e0") + "MTrk";
        for (int shift = 24; shift >= 0; shift -= 8)
            file.append(char((track.size() >> shift) & 0xFF));
        file += track;
        QFile out(host(name));
        out.open(QIODevice::WriteOnly);
        out.write(file);
    }
};

Songs &songs()
{
    static Songs made;
    return made;
}

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

/**
 * The seconds from Open to the first frames handed to the output; `openPlay` gets the part
 * spent in Open and Play, the rest is the wait for the output to take its next buffer.
 */
double clickToSound(platform::MediaPlayer &player, const QString &windowsPath,
                    double *openPlay = nullptr)
{
    const auto start = Clock::now();
    player.setFileName(windowsPath);
    player.open();
    player.play();
    if (openPlay)
        *openPlay = std::chrono::duration<double>(Clock::now() - start).count();
    while (player.position() == 0)
        std::this_thread::yield();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    player.stop();
    return seconds;
}

void clickToSoundBenchmark(benchmark::State &state, const char *windowsPath, double goalMs)
{
    auto player = platform::createAudioPlayer(songs().paths);
    // The output opens once per process and a sound server may take a moment to settle after
    // that; neither is part of a click.
    clickToSound(*player, QString::fromLatin1(windowsPath));
    player->play();
    while (player->position() < 300)
        std::this_thread::yield();
    player->stop();
    double worst = 0;
    double openPlayTotal = 0;
    unsigned phase = 1;
    for (auto _ : state) {
        // A click comes at any moment of the output's period, not just after a buffer was taken.
        phase = phase * 1103515245u + 12345u;
        std::this_thread::sleep_for(std::chrono::microseconds((phase >> 8) % 12000));
        double openPlay = 0;
        const double seconds = clickToSound(*player, QString::fromLatin1(windowsPath), &openPlay);
        worst = std::max(worst, seconds);
        openPlayTotal += openPlay;
        state.SetIterationTime(seconds);
    }
    state.counters["worst_ms"] = worst * 1000;
    state.counters["open_play_ms"] = openPlayTotal * 1000 / double(state.iterations());
    state.counters["goal_ms"] = goalMs;
}

void BM_SoundFontFirstLoad(benchmark::State &state)
{
    auto player = platform::createAudioPlayer(songs().paths);
    clickToSound(*player, QStringLiteral("C:\\five.wav"));
    for (auto _ : state) {
        player->close();
        state.SetIterationTime(clickToSound(*player, QStringLiteral("C:\\five.mid")));
    }
    state.SetLabel("first MIDI click, loads the SoundFont; no goal");
}
BENCHMARK(BM_SoundFontFirstLoad)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ClickToSound_Wav(benchmark::State &state)
{
    clickToSoundBenchmark(state, "C:\\five.wav", 10);
}
BENCHMARK(BM_ClickToSound_Wav)->Iterations(100)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ClickToSound_Mp3(benchmark::State &state)
{
    clickToSoundBenchmark(state, "C:\\five.mp3", 10);
}
BENCHMARK(BM_ClickToSound_Mp3)->Iterations(100)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ClickToSound_Midi(benchmark::State &state)
{
    clickToSoundBenchmark(state, "C:\\five.mid", 20);
}
BENCHMARK(BM_ClickToSound_Midi)->Iterations(100)->UseManualTime()->Unit(benchmark::kMillisecond);

/** Process CPU time over wall time while a song plays in real time through the output. */
void cpuWhilePlaying(benchmark::State &state, const char *windowsPath, bool play,
                     double goalPercent)
{
    auto player = platform::createAudioPlayer(songs().paths);
    player->setFileName(QString::fromLatin1(windowsPath));
    player->open();
    double percent = 0;
    for (auto _ : state) {
        player->setPosition(0);
        if (play)
            player->play();
        const double cpuStart = processCpuSeconds();
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(4));
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        percent = 100 * (processCpuSeconds() - cpuStart) / wall;
        state.SetIterationTime(wall);
        player->stop();
    }
    state.counters["cpu_percent"] = percent;
    state.counters["goal_percent"] = goalPercent;
}

void BM_CpuIdleOutput(benchmark::State &state)
{
    // The baseline: the output running with the song open but stopped.
    cpuWhilePlaying(state, "C:\\five.mp3", false, 0);
    state.SetLabel("baseline, nothing playing");
}

void BM_CpuPlaying_Mp3(benchmark::State &state)
{
    cpuWhilePlaying(state, "C:\\five.mp3", true, 2);
}

void BM_CpuPlaying_Midi(benchmark::State &state)
{
    cpuWhilePlaying(state, "C:\\five.mid", true, 10);
}

/** Peak memory growth while the streaming path decodes a 60-minute MP3 from start to end. */
void BM_MemoryLongMp3(benchmark::State &state)
{
    songs().writeTone("sixty.mp3", platform::SoundFileType::Mp3, 44100, 1, 3600);
    // Memory the encoder freed is given back first, so it cannot hide the decoder's growth.
    malloc_trim(0);
    std::vector<float> out(2 * 512);
    long growthKb = 0;
    long beforeKb = 0;
    double realTimeFactor = 0;
    for (auto _ : state) {
        const long before = residentKb();
        const auto start = Clock::now();
        auto decoder =
            platform::openDecoder(songs().host("sixty.mp3"), platform::DecoderUse::Playback, 48000);
        platform::Resampler resampler;
        resampler.start(*decoder, 0, 48000);
        long peak = residentKb();
        qint64 blocks = 0;
        while (!resampler.finished()) {
            std::fill(out.begin(), out.end(), 0.0f);
            resampler.render(*decoder, out.data(), 512);
            if (++blocks % 4096 == 0)
                peak = std::max(peak, residentKb());
        }
        peak = std::max(peak, residentKb());
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        growthKb = peak - before;
        beforeKb = before;
        realTimeFactor = 3600 / seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["rss_growth_kB"] = double(growthKb);
    state.counters["rss_before_kB"] = double(beforeKb);
    state.counters["goal_kB"] = 10 * 1024;
    state.counters["x_realtime"] = realTimeFactor;
}

} // namespace

BENCHMARK(BM_CpuIdleOutput)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_CpuPlaying_Mp3)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_CpuPlaying_Midi)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_MemoryLongMp3)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    ComparisonReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    char text[96];
    const auto click = [&](const char *what, const char *name, double goal) {
        std::snprintf(text, sizeof text, "worst %.1f ms; Open + Play alone %.2f ms", reporter.counter(name, "worst_ms"),
                      reporter.counter(name, "open_play_ms"));
        printFigure(what, reporter.seconds(name) * 1e3, "ms", goal, text);
    };
    click("click to sound, 5-minute WAV (mean)", "BM_ClickToSound_Wav/iterations:100/manual_time", 10);
    click("click to sound, 5-minute MP3 (mean)", "BM_ClickToSound_Mp3/iterations:100/manual_time", 10);
    click("click to sound, MIDI, SoundFont loaded (mean)", "BM_ClickToSound_Midi/iterations:100/manual_time", 20);
    printFigure("first MIDI click, loading the SoundFont", reporter.seconds("BM_SoundFontFirstLoad/iterations:1/manual_time") * 1e3,
                "ms", 0, "-");
    std::snprintf(text, sizeof text, "idle output %.2f %%",
                  reporter.counter("BM_CpuIdleOutput/iterations:1/manual_time", "cpu_percent"));
    printFigure("CPU while playing an MP3", reporter.counter("BM_CpuPlaying_Mp3/iterations:1/manual_time", "cpu_percent"),
                "%", 2, text);
    printFigure("CPU while playing MIDI", reporter.counter("BM_CpuPlaying_Midi/iterations:1/manual_time", "cpu_percent"),
                "%", 10, text);
    std::snprintf(text, sizeof text, "decoded at %.0fx real time",
                  reporter.counter("BM_MemoryLongMp3/iterations:1/manual_time", "x_realtime"));
    printFigure("memory growth, 60-minute MP3", reporter.counter("BM_MemoryLongMp3/iterations:1/manual_time", "rss_growth_kB") / 1024,
                "MB", 10, text);
    benchmark::Shutdown();
    return 0;
}
