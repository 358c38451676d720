#include "comparison.h"
#include "platform/richtext/richtextedit.h"
#include "platform/winpath.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <benchmark/benchmark.h>

// Loading a song text of 200 KB into the text pane, as RTF (the goal is 10 ms) and, as the
// baseline, the same words as plain text.

namespace {

constexpr double goalMilliseconds = 10.0;

/** Cyrillic verses as WordPad writes them: \'hh bytes, a bold centred title per verse. */
QByteArray songRtf(qsizetype targetBytes)
{
    const QByteArray verse[] = {
        "\\'cd\\'e5 \\'f1\\'eb\\'fb\\'f8\\'ed\\'fb \\'e2 \\'f1\\'e0\\'e4\\'f3 \\'e4\\'e0\\'e6\\'e5 "
        "\\'f8\\'ee\\'f0\\'EE\\'f5\\'e8,",
        "\\'c2\\'f1\\'b8 \\'e7\\'e4\\'e5\\'f1\\'fc \\'e7\\'e0\\'ec\\'e5\\'f0\\'eb\\'ee \\'e4\\'ee "
        "\\'f3\\'f2\\'f0\\'e0.",
        "{\\i \\'c5\\'f1\\'eb\\'e8 \\'e1 \\'e7\\'ed\\'e0\\'eb\\'e8 \\'e2\\'fb}, \\'ea\\'e0\\'ea "
        "\\'ec\\'ed\\'e5 \\'e4\\'ee\\'f0\\'ee\\'e3\\'e8",
        "\\'cf\\'ee\\'e4\\'ec\\'ee\\'f1\\'ea\\'ee\\'e2\\'ed\\'fb\\'e5 {\\cf1\\b "
        "\\'e2\\'e5\\'f7\\'e5\\'f0\\'e0}.",
    };
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss"
                     "\\fcharset204{\\*\\fname Arial;}Arial CYR;}}\r\n{\\colortbl ;\\red128\\green0"
                     "\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs28 ";
    for (int n = 1; rtf.size() < targetBytes; ++n) {
        rtf += "\\pard\\qc\\b\\fs32 \\'ca\\'f3\\'ef\\'eb\\'e5\\'f2 " + QByteArray::number(n) +
               "\\b0\\fs28\\par\r\n\\pard\\sa120 ";
        for (const QByteArray &line : verse)
            rtf += line + "\\par\r\n";
    }
    return rtf + "}\r\n";
}

struct Texts
{
    QByteArray rtf = songRtf(200 * 1024);
    QByteArray plain;
    Texts()
    {
        const platform::WinPath paths;
        platform::RichTextEdit pane(paths);
        pane.loadBytes(rtf);
        plain = pane.toPlainText().toUtf8();
    }
};

const Texts &texts()
{
    static const Texts t;
    return t;
}

void load(benchmark::State &state, const QByteArray &bytes, bool layout)
{
    const platform::WinPath paths;
    platform::RichTextEdit pane(paths);
    pane.resize(800, 600);
    for (auto _ : state) {
        pane.loadBytes(bytes);
        if (layout)
            benchmark::DoNotOptimize(pane.document()->documentLayout()->documentSize());
    }
    state.counters["kB"] = double(bytes.size()) / 1024;
    state.counters["characters"] = pane.textLength();
    state.counters["goal_ms"] = goalMilliseconds;
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_LoadSongRtf(benchmark::State &state)
{
    load(state, texts().rtf, false);
}

void BM_LoadSongPlainText(benchmark::State &state)
{
    load(state, texts().plain, false);
}

void BM_LoadSongRtfAndLayOut(benchmark::State &state)
{
    load(state, texts().rtf, true);
}

void BM_LoadSongPlainTextAndLayOut(benchmark::State &state)
{
    load(state, texts().plain, true);
}

/** Load time against size: it grows linearly (2 MB takes about ten times 200 KB). */
void BM_LoadRtfBySize(benchmark::State &state)
{
    const QByteArray rtf = songRtf(state.range(0) * 1024);
    load(state, rtf, false);
}

} // namespace

BENCHMARK(BM_LoadSongRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSongPlainText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSongRtfAndLayOut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSongPlainTextAndLayOut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRtfBySize)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    ComparisonReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printComparison("200 KB RTF song text into the pane", reporter.seconds("BM_LoadSongRtf"), 10.0,
                    reporter.seconds("BM_LoadSongPlainText"));
    printComparison("the same, laid out for the screen", reporter.seconds("BM_LoadSongRtfAndLayOut"), 0,
                    reporter.seconds("BM_LoadSongPlainTextAndLayOut"));
    benchmark::Shutdown();
    return 0;
}
