// Reading the 100 keys a reload of the song buttons needs (50 captions, 50 icon paths) from a
// full kit through the INI layer, against opening and parsing the kit for each read.

#include "comparison.h"
#include "kit/kitformat.h"
#include "platform/codepage.h"
#include "platform/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/time.h>

#include <chrono>
#include <thread>

namespace {

struct FullKit
{
    QTemporaryDir dir;
    platform::WinPath paths;
    QString name = kit::folders::DefaultKit;

    FullKit()
    {
        paths.mapDrive(u'C', dir.path());
        QDir().mkpath(dir.path() + QStringLiteral("/KARVEL/TEMES"));
        const platform::CodePage ansi;
        QByteArray text;
        for (int theme = 1; theme <= kit::ThemeCount; ++theme) {
            text += "[" + kit::sectionName(theme).toLatin1() + "]\r\n";
            for (int song = 1; song <= kit::SongCount; ++song) {
                const kit::SongKeys keys = kit::songKeys(song);
                const QString caption = QString::fromUtf8("Песня номер %1 — тема %2").arg(song).arg(theme);
                const QString stem = QStringLiteral("Theme%1_Song%2").arg(theme, 2, 10, QChar(u'0')).arg(song, 2, 10, QChar(u'0'));
                text += keys.caption.toLatin1() + "=" + *ansi.encode(caption) + "\r\n";
                const QByteArray folder = *ansi.encode(QString::fromUtf8("Концерт %1\\").arg(theme));
                text += keys.text.toLatin1() + "=C:\\KARVEL\\TEXTS\\" + folder + stem.toLatin1() + "_words.rtf\r\n";
                text += keys.song.toLatin1() + "=C:\\KARVEL\\SONGS\\" + folder + stem.toLatin1() + "_performance.mp3\r\n";
                text += keys.icon.toLatin1() + "=C:\\KARVEL\\ICONS\\" + folder + stem.toLatin1() + "_picture.bmp\r\n";
                text += keys.volume.toLatin1() + "=" + QByteArray::number(30 + (song * 7) % 70) + "\r\n";
            }
        }
        text += "[TemaArtist]\r\n";
        for (int theme = 1; theme <= kit::ThemeCount; ++theme) {
            text += "Button" + QByteArray::number(theme) + "=" + *ansi.encode(QString::fromUtf8("Артист %1").arg(theme)) + "\r\n";
            text += "Icon" + QByteArray::number(theme) + "=C:\\KARVEL\\ICONS\\artist" + QByteArray::number(theme) + ".bmp\r\n";
        }
        const QString host = dir.path() + QStringLiteral("/KARVEL/TEMES/First.qbk");
        QFile file(host);
        file.open(QIODevice::WriteOnly);
        file.write(text);
        file.close();
        bytes = text.size();
        hostPath = host;
        // A kit at rest, as the ones users play from are: its change stamps are seconds old,
        // past the settling time in which the INI layer also compares the file's bytes.
        std::this_thread::sleep_for(std::chrono::seconds(3));
    }
    qint64 bytes = 0;
    QString hostPath;
};

FullKit &fullKit()
{
    static FullKit kit;
    return kit;
}

void reloadSongButtons(platform::ProfileStore &store, int theme)
{
    const platform::IniFile file(store, fullKit().name);
    const QString section = kit::sectionName(theme);
    for (int song = 1; song <= kit::SongCount; ++song) {
        const kit::SongKeys keys = kit::songKeys(song);
        benchmark::DoNotOptimize(file.readString(section, keys.caption, kit::defaultSongCaption(song)));
    }
    for (int song = 1; song <= kit::SongCount; ++song)
        benchmark::DoNotOptimize(file.readString(section, kit::songKeys(song).icon, kit::NoFile));
}

void BM_HundredReads(benchmark::State &state)
{
    platform::ProfileStore store(fullKit().paths);
    int theme = 1;
    for (auto _ : state) {
        reloadSongButtons(store, theme);
        theme = theme % kit::ThemeCount + 1;
    }
    state.counters["kit_bytes"] = double(fullKit().bytes);
}
BENCHMARK(BM_HundredReads)->Unit(benchmark::kMicrosecond);

// The same reads right after the kit changed (the editor's OK reloads the board at once): the
// change stamps are fresh, so each read also compares the file's bytes.
void BM_HundredReadsFreshKit(benchmark::State &state)
{
    platform::ProfileStore store(fullKit().paths);
    const QByteArray host = QFile::encodeName(fullKit().hostPath);
    int theme = 1;
    for (auto _ : state) {
        state.PauseTiming();
        ::utimes(host.constData(), nullptr);
        state.ResumeTiming();
        reloadSongButtons(store, theme);
        theme = theme % kit::ThemeCount + 1;
    }
}
BENCHMARK(BM_HundredReadsFreshKit)->Unit(benchmark::kMicrosecond);

// The baseline: every read opens the kit and parses it, as a reader without a cache does.
void BM_HundredReadsParsingEachTime(benchmark::State &state)
{
    int theme = 1;
    for (auto _ : state) {
        const QString section = kit::sectionName(theme);
        for (int read = 0; read < 2 * kit::SongCount; ++read) {
            platform::ProfileStore fresh(fullKit().paths);
            const int song = read % kit::SongCount + 1;
            const QString key = read < kit::SongCount ? kit::songKeys(song).caption : kit::songKeys(song).icon;
            benchmark::DoNotOptimize(platform::IniFile(fresh, fullKit().name).readString(section, key, QString()));
        }
        theme = theme % kit::ThemeCount + 1;
    }
}
BENCHMARK(BM_HundredReadsParsingEachTime)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    ComparisonReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double baseline = reporter.seconds("BM_HundredReadsParsingEachTime");
    printComparison("100 kit reads (board reload), kit at rest", reporter.seconds("BM_HundredReads"), 1.0, baseline);
    printComparison("100 kit reads, kit changed just now", reporter.seconds("BM_HundredReadsFreshKit"), 10.0, baseline);
    benchmark::Shutdown();
    return 0;
}
