#pragma once

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

// A short table of the figures that matter, with their targets, printed after Google Benchmark's
// own output. The benchmarks declare their lines when they register.
namespace kanaroll::bench {

enum class Measure {
    Milliseconds,        // wall time per iteration
    MegabytesPerSecond,  // the bytes_per_second counter, in 10^6 bytes
    Ratio,               // a user counter, as it is
};

struct SummaryLine {
    std::string benchmark;  // the run name, such as "SortGames/-3"
    std::string label;      // what the reader sees
    Measure measure = Measure::Milliseconds;
    std::string counter;      // for Measure::Ratio
    std::string denominator;  // when set: the mean of this line's measure over that benchmark's
    double limit = 0;         // 0: a reference figure without target
    bool atLeast = false;     // the figure must reach the limit (rates) rather than stay below it (times)
    bool aimOnly = false;     // a figure to aim at, reported as "below aim" rather than "MISSED"
};

void AddSummaryLine(SummaryLine line);

// A wall time in milliseconds; `below`: the target (0: none).
SummaryLine TimeLine(std::string benchmark, std::string label, double below = 0);
// A rate in MB/s; `atLeast`: the target (0: none).
SummaryLine RateLine(std::string benchmark, std::string label, double atLeast = 0);
// A counter to aim at.
SummaryLine RatioLine(std::string benchmark, std::string label, std::string counter, double aim);
// The mean rate of one benchmark over the mean rate of another, to aim at.
SummaryLine RateRatioLine(std::string benchmark, std::string denominator, std::string label, double aim);

// Adds min and max to the statistics of repeated runs (Google Benchmark has mean, median, stddev).
benchmark::internal::Benchmark* WithMinMax(benchmark::internal::Benchmark* benchmark);

// Google Benchmark's console output, then the summary: on standard output after the rest when
// `summaryFile` is empty, else into that file. A line whose target is missed ends in "MISSED"; a
// benchmark that stopped with an error (SkipWithError: a check of its result failed) has one line
// with "SKIPPED" and the error instead of its figures, so that it cannot pass unseen.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter(std::string heading, std::string summaryFile, bool color);

    void ReportRuns(const std::vector<Run>& reports) override;
    void Finalize() override;

private:
    std::string m_heading;
    std::string m_summaryFile;
    std::vector<Run> m_runs;
    std::vector<Run> m_failedRuns;
};

}  // namespace kanaroll::bench
