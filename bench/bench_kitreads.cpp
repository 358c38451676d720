// Reading the 100 keys a reload of the song buttons needs (50 captions, 50 icon paths) from a
// full kit through the INI layer, against opening and parsing the kit for each read.

#include "comparison.h"
#include "fullkit.h"
#include "kit/kitformat.h"
#include "platform/inifile.h"

#include <QFile>

#include <sys/time.h>

namespace {

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
    platform::ProfileStore store(fullKit().paths, platform::CodePage::ansi(),
                                 platform::ProfileStore::Caching::ParseEveryRead);
    int theme = 1;
    for (auto _ : state) {
        reloadSongButtons(store, theme);
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
    printComparison("100 kit reads, kit changed just now", reporter.seconds("BM_HundredReadsFreshKit"), 0, baseline);
    benchmark::Shutdown();
    return 0;
}
