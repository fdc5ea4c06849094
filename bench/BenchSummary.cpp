#include "bench/BenchSummary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

namespace kanaroll::bench {

namespace {

using Run = benchmark::BenchmarkReporter::Run;
// A benchmark's runs by aggregate name ("mean", "stddev", "min", "max"), or "single" without
// repetitions.
using RunsByName = std::map<std::string, const Run*>;

std::vector<SummaryLine>& Lines() {
    static std::vector<SummaryLine> lines;
    return lines;
}

double Milliseconds(double time, benchmark::TimeUnit unit) {
    return time * 1e3 / benchmark::GetTimeUnitMultiplier(unit);
}

std::optional<double> ValueOf(const Run& run, const SummaryLine& line) {
    if (line.measure == Measure::Milliseconds) return Milliseconds(run.GetAdjustedRealTime(), run.time_unit);
    const auto found = run.counters.find(line.measure == Measure::Ratio ? line.counter : "bytes_per_second");
    if (found == run.counters.end()) return std::nullopt;
    return line.measure == Measure::Ratio ? found->second.value : found->second.value / 1e6;
}

std::optional<double> ValueOf(const RunsByName& runs, const char* name, const SummaryLine& line) {
    const auto run = runs.find(name);
    if (run == runs.end()) return std::nullopt;
    return ValueOf(*run->second, line);
}

// The name as registered, without the "/real_time" that UseRealTime() appends.
std::string RegisteredName(const Run& run) {
    std::string name = run.run_name.function_name;
    if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
    return name;
}

const Run* MeanRun(const RunsByName& runs) {
    const auto run = runs.count("mean") ? runs.find("mean") : runs.find("single");
    return run == runs.end() ? nullptr : run->second;
}

// Two significant decimals for small figures, fewer for large ones.
std::string Format(double value) {
    char buffer[32];
    const double magnitude = std::fabs(value);
    const char* format = magnitude >= 100   ? "%.0f"
                         : magnitude >= 10  ? "%.1f"
                         : magnitude >= 0.1 ? "%.2f"
                                            : "%.3f";
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

}  // namespace

void AddSummaryLine(SummaryLine line) {
    Lines().push_back(std::move(line));
}

SummaryLine TimeLine(std::string benchmark, std::string label, double below) {
    return {.benchmark = std::move(benchmark), .label = std::move(label), .limit = below};
}

SummaryLine RateLine(std::string benchmark, std::string label, double atLeast) {
    return {.benchmark = std::move(benchmark),
            .label = std::move(label),
            .measure = Measure::MegabytesPerSecond,
            .limit = atLeast,
            .atLeast = true};
}

SummaryLine RatioLine(std::string benchmark, std::string label, std::string counter, double aim) {
    return {.benchmark = std::move(benchmark),
            .label = std::move(label),
            .measure = Measure::Ratio,
            .counter = std::move(counter),
            .limit = aim,
            .atLeast = true,
            .aimOnly = true};
}

SummaryLine RateRatioLine(std::string benchmark, std::string denominator, std::string label, double aim) {
    SummaryLine line = RateLine(std::move(benchmark), std::move(label), aim);
    line.denominator = std::move(denominator);
    line.aimOnly = true;
    return line;
}

benchmark::internal::Benchmark* WithMinMax(benchmark::internal::Benchmark* benchmark) {
    return benchmark
        ->ComputeStatistics(
            "min",
            [](const std::vector<double>& v) { return v.empty() ? 0.0 : *std::ranges::min_element(v); })
        ->ComputeStatistics("max", [](const std::vector<double>& v) {
            return v.empty() ? 0.0 : *std::ranges::max_element(v);
        });
}

SummaryReporter::SummaryReporter(std::string heading, std::string summaryFile, bool color)
    : ConsoleReporter(color ? OO_ColorTabular : OO_Tabular),
      m_heading(std::move(heading)),
      m_summaryFile(std::move(summaryFile)) {}

void SummaryReporter::ReportRuns(const std::vector<Run>& reports) {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) (run.error_occurred ? m_failedRuns : m_runs).push_back(run);
}

void SummaryReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::map<std::string, RunsByName> byName;
    for (const Run& run : m_runs)
        byName[RegisteredName(run)][run.run_type == Run::RT_Aggregate ? run.aggregate_name : "single"] = &run;
    // A failed benchmark's error, reported once under the first line that shows it.
    std::map<std::string, std::string> failed;
    for (const Run& run : m_failedRuns) failed.emplace(RegisteredName(run), run.error_message);

    std::FILE* out = m_summaryFile.empty() ? stdout : std::fopen(m_summaryFile.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "cannot write the summary to %s\n", m_summaryFile.c_str());
        return;
    }
    std::fprintf(out, "\n%s\n", m_heading.c_str());
    std::fprintf(out, "  %-44s %10s %9s %21s %9s   %s\n", "", "mean", "stddev", "min .. max", "cpu",
                 "target");
    const auto printFailed = [&](const std::string& benchmark, const std::string& label) {
        const auto error = failed.find(benchmark);
        std::fprintf(out, "  %-44s %7s %-4s %9s %21s %9s   SKIPPED: %s\n", label.c_str(), "-", "", "", "", "",
                     error->second.c_str());
        failed.erase(error);
    };
    for (const SummaryLine& line : Lines()) {
        if (failed.contains(line.benchmark)) {
            printFailed(line.benchmark, line.label);
            continue;
        }
        const auto found = byName.find(line.benchmark);
        if (found == byName.end()) continue;  // filtered out, or failed (reported under its first line)
        const RunsByName& runs = found->second;
        const Run* meanRun = MeanRun(runs);
        std::optional<double> mean = meanRun ? ValueOf(*meanRun, line) : std::nullopt;
        if (!mean) continue;
        std::optional<double> stddev = ValueOf(runs, "stddev", line);
        std::optional<double> low = ValueOf(runs, "min", line);
        std::optional<double> high = ValueOf(runs, "max", line);
        const char* unit = line.measure == Measure::Milliseconds         ? "ms"
                           : line.measure == Measure::MegabytesPerSecond ? "MB/s"
                                                                         : "";
        if (!line.denominator.empty()) {
            // A ratio of two means: no spread of its own, and no unit.
            const auto other = byName.find(line.denominator);
            const Run* otherRun = other == byName.end() ? nullptr : MeanRun(other->second);
            const std::optional<double> otherMean = otherRun ? ValueOf(*otherRun, line) : std::nullopt;
            if (!otherMean || *otherMean == 0) continue;
            mean = *mean / *otherMean;
            stddev = low = high = std::nullopt;
            unit = "";
        }

        std::string target = "(reference)";
        if (line.limit > 0) {
            // Judge by the mean; rates and ratios must reach the limit, times must stay below it.
            const bool met = line.atLeast ? *mean >= line.limit : *mean < line.limit;
            char limit[32];
            std::snprintf(limit, sizeof limit, "%g", line.limit);
            target = std::string(line.atLeast ? ">= " : "< ") + limit + (*unit ? " " : "") + unit;
            target += met ? "  ok" : line.aimOnly ? "  below aim" : "  MISSED";
        }
        // The processor time next to the wall time: on a busy machine the two part.
        const std::string cpu =
            line.measure == Measure::Milliseconds
                ? Format(Milliseconds(meanRun->GetAdjustedCPUTime(), meanRun->time_unit)) + " ms"
                : "";
        const std::string range = low && high ? Format(*low) + " .. " + Format(*high) : "";
        const std::string spread = stddev ? "+- " + Format(*stddev) : "";
        std::fprintf(out, "  %-44s %7s %-4s %9s %21s %9s   %s\n", line.label.c_str(), Format(*mean).c_str(),
                     unit, spread.c_str(), range.c_str(), cpu.c_str(), target.c_str());
    }
    // Failed benchmarks that no line shows.
    while (!failed.empty()) {
        const std::string benchmark = failed.begin()->first;
        printFailed(benchmark, benchmark);
    }
    if (out == stdout) {
        std::fflush(out);
    } else {
        std::fclose(out);
    }
}

}  // namespace kanaroll::bench
