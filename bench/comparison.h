#pragma once

// A console reporter that also keeps each benchmark's time per iteration, so a benchmark file
// can print its figure beside its baseline and its goal when the runs are done.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

class ComparisonReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            m_seconds[run.benchmark_name()] = run.GetAdjustedRealTime() * unitSeconds(run.time_unit);
            for (const auto &[name, counter] : run.counters)
                m_counters[run.benchmark_name() + "/" + name] = counter.value;
        }
    }

    /** A counter a benchmark set, by the benchmark's full name and the counter's; -1 when absent. */
    double counter(const std::string &benchmark, const std::string &name) const
    {
        const auto it = m_counters.find(benchmark + "/" + name);
        return it == m_counters.end() ? -1.0 : it->second;
    }

    /** Seconds per iteration of a benchmark by its full name, or a negative value when it did not run. */
    double seconds(const std::string &name) const
    {
        const auto it = m_seconds.find(name);
        return it == m_seconds.end() ? -1.0 : it->second;
    }

private:
    static double unitSeconds(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kNanosecond:
            return 1e-9;
        case benchmark::kMicrosecond:
            return 1e-6;
        case benchmark::kMillisecond:
            return 1e-3;
        case benchmark::kSecond:
            return 1.0;
        }
        return 1.0;
    }
    std::map<std::string, double> m_seconds;
    std::map<std::string, double> m_counters;
};

/** One line of the summary for a figure of any unit, with its goal and what it is compared with. */
inline void printFigure(const char *what, double value, const char *unit, double goal, const char *comparedWith)
{
    char goalText[32] = "no goal";
    if (goal > 0)
        std::snprintf(goalText, sizeof goalText, "<= %g %s", goal, unit);
    std::printf("FIGURE | %-44s | %10.3f %-2s | goal %-10s | %s | %s\n", what, value, unit, goalText, comparedWith,
                goal <= 0 ? "-" : value <= goal ? "met" : "MISSED");
}

/**
 * One line of the summary: the figure, its goal and its baseline, in milliseconds. A goal of 0
 * or less means the figure is reported without one.
 */
inline void printComparison(const char *what, double figureSeconds, double goalMs, double baselineSeconds)
{
    const double figure = figureSeconds * 1e3;
    const double baseline = baselineSeconds * 1e3;
    char goal[32] = "no goal";
    if (goalMs > 0)
        std::snprintf(goal, sizeof goal, "<= %g ms", goalMs);
    std::printf("FIGURE | %-44s | %10.4f ms | goal %-10s | baseline %10.4f ms | baseline/figure %6.1f | %s\n", what, figure,
                goal, baseline, figure > 0 ? baseline / figure : 0.0,
                goalMs <= 0 ? "-" : figure <= goalMs ? "met" : "MISSED");
}
