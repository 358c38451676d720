// A theme switch on the board (JobTema: 50 captions, 50 icon paths and 50 icon files) on a full
// kit, against the same switch reading the kit without keeping it parsed.

#include "app/fonts.h"
#include "app/program.h"
#include "comparison.h"
#include "fullkit.h"
#include "platform/errorboundary.h"
#include "platform/inifile.h"
#include "platform/media/testmediaplayer.h"
#include "platform/mixer/memorymixer.h"
#include "platform/shell/recordingshell.h"
#include "platform/sysinfo/fakesysteminfo.h"
#include "support/scripteddialogs.h"

#include <QApplication>

namespace {

FullKit &fullKit()
{
    static FullKit kit(true);
    return kit;
}

void switchThemes(benchmark::State &state, platform::ProfileStore::Caching caching)
{
    platform::ProfileStore profiles(fullKit().paths, platform::CodePage::ansi(), caching);
    ScriptedDialogs dialogs;
    platform::ErrorBoundary boundary(dialogs);
    platform::TestMediaPlayer player(fullKit().paths);
    platform::MemoryMixer mixer;
    platform::FakeSystemInfo system;
    platform::RecordingShell shell;
    const Services services{fullKit().paths, profiles, dialogs, boundary, player, mixer, system, shell};
    BaseState base;
    TBaseForm form(base, services);
    int theme = 1;
    for (auto _ : state) {
        theme = theme % kit::ThemeCount + 1;
        form.JobTema(theme);
    }
    if (!dialogs.shown().isEmpty())
        state.SkipWithError("the board showed a box");
}

void BM_JobTema(benchmark::State &state) { switchThemes(state, platform::ProfileStore::Caching::KeepParsedFiles); }
BENCHMARK(BM_JobTema)->Unit(benchmark::kMillisecond);

void BM_JobTemaParsingEachRead(benchmark::State &state)
{
    switchThemes(state, platform::ProfileStore::Caching::ParseEveryRead);
}
BENCHMARK(BM_JobTemaParsingEachRead)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    installFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    fullKit();
    ComparisonReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printComparison("theme switch (JobTema), full kit, 50 icons", reporter.seconds("BM_JobTema"), 3.0,
                    reporter.seconds("BM_JobTemaParsingEachRead"));
    benchmark::Shutdown();
    return 0;
}
