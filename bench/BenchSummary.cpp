#include "bench/BenchSummary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

namespace kanaroll::bench {

namespace {

std::vector<SummaryLine>& Lines() {
    static std::vector<SummaryLine> lines;
    return lines;
}

double MinOf(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

double MaxOf(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

double Milliseconds(double time, benchmark::TimeUnit unit) {
    switch (unit) {
        case benchmark::kNanosecond:
            return time / 1e6;
        case benchmark::kMicrosecond:
            return time / 1e3;
        case benchmark::kMillisecond:
            return time;
        case benchmark::kSecond:
            return time * 1e3;
    }
    return time;
}

std::optional<double> ValueOf(const benchmark::BenchmarkReporter::Run& run, const SummaryLine& line) {
    switch (line.measure) {
        case Measure::Milliseconds:
            return Milliseconds(run.GetAdjustedRealTime(), run.time_unit);
        case Measure::MegabytesPerSecond: {
            const auto found = run.counters.find("bytes_per_second");
            if (found == run.counters.end()) return std::nullopt;
            return found->second.value / 1e6;
        }
        case Measure::Ratio: {
            const auto found = run.counters.find(line.counter);
            if (found == run.counters.end()) return std::nullopt;
            return found->second.value;
        }
    }
    return std::nullopt;
}

const char* UnitOf(Measure measure) {
    switch (measure) {
        case Measure::Milliseconds:
            return "ms";
        case Measure::MegabytesPerSecond:
            return "MB/s";
        case Measure::Ratio:
            return "";
    }
    return "";
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
    SummaryLine line;
    line.benchmark = std::move(benchmark);
    line.label = std::move(label);
    line.measure = Measure::Milliseconds;
    line.limit = below;
    return line;
}

SummaryLine RateLine(std::string benchmark, std::string label, double atLeast) {
    SummaryLine line = TimeLine(std::move(benchmark), std::move(label), atLeast);
    line.measure = Measure::MegabytesPerSecond;
    line.atLeast = true;
    return line;
}

SummaryLine RatioLine(std::string benchmark, std::string label, std::string counter, double aim) {
    SummaryLine line = RateLine(std::move(benchmark), std::move(label), aim);
    line.measure = Measure::Ratio;
    line.counter = std::move(counter);
    line.aimOnly = true;
    return line;
}

SummaryLine RateRatioLine(std::string benchmark, std::string denominator, std::string label, double aim) {
    SummaryLine line = RateLine(std::move(benchmark), std::move(label), aim);
    line.denominator = std::move(denominator);
    line.aimOnly = true;
    return line;
}

benchmark::internal::Benchmark* WithMinMax(benchmark::internal::Benchmark* benchmark) {
    return benchmark->ComputeStatistics("min", MinOf)->ComputeStatistics("max", MaxOf);
}

SummaryReporter::SummaryReporter(std::string heading, std::string summaryFile, bool color)
    : ConsoleReporter(color ? OO_ColorTabular : OO_Tabular),
      m_heading(std::move(heading)),
      m_summaryFile(std::move(summaryFile)) {}

void SummaryReporter::ReportRuns(const std::vector<Run>& reports) {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports)
        if (!run.error_occurred) m_runs.push_back(run);
}

void SummaryReporter::Finalize() {
    ConsoleReporter::Finalize();
    // Per benchmark: the aggregates by name, or the single run when there were no repetitions.
    std::map<std::string, std::map<std::string, const Run*>> byName;
    for (const Run& run : m_runs) {
        // The name as registered, without the "/real_time" that UseRealTime() appends.
        std::string name = run.run_name.function_name;
        if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
        byName[name][run.run_type == Run::RT_Aggregate ? run.aggregate_name : "single"] = &run;
    }

    std::FILE* out = m_summaryFile.empty() ? stdout : std::fopen(m_summaryFile.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "cannot write the summary to %s\n", m_summaryFile.c_str());
        return;
    }
    std::fprintf(out, "\n%s\n", m_heading.c_str());
    std::fprintf(out, "  %-44s %10s %9s %21s %9s   %s\n", "", "mean", "stddev", "min .. max", "cpu",
                 "target");
    for (const SummaryLine& line : Lines()) {
        const auto found = byName.find(line.benchmark);
        if (found == byName.end()) continue;  // filtered out, or failed (reported above)
        const auto& runs = found->second;
        auto value = [&](const char* name) -> std::optional<double> {
            const auto run = runs.find(name);
            if (run == runs.end()) return std::nullopt;
            return ValueOf(*run->second, line);
        };
        std::optional<double> mean = runs.count("mean") ? value("mean") : value("single");
        if (!mean) continue;
        std::optional<double> stddev = value("stddev");
        std::optional<double> low = value("min");
        std::optional<double> high = value("max");
        const char* unit = UnitOf(line.measure);
        if (!line.denominator.empty()) {
            // A ratio of two means: no spread of its own, and no unit.
            const auto other = byName.find(line.denominator);
            if (other == byName.end()) continue;
            const auto otherRun =
                other->second.count("mean") ? other->second.find("mean") : other->second.find("single");
            const std::optional<double> otherMean =
                otherRun == other->second.end() ? std::nullopt : ValueOf(*otherRun->second, line);
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
        std::string cpu;
        if (line.measure == Measure::Milliseconds) {
            const auto run = runs.count("mean") ? runs.find("mean") : runs.find("single");
            cpu = Format(Milliseconds(run->second->GetAdjustedCPUTime(), run->second->time_unit)) + " ms";
        }
        const std::string range = low && high ? Format(*low) + " .. " + Format(*high) : "";
        const std::string spread = stddev ? "+- " + Format(*stddev) : "";
        std::fprintf(out, "  %-44s %7s %-4s %9s %21s %9s   %s\n", line.label.c_str(), Format(*mean).c_str(),
                     unit, spread.c_str(), range.c_str(), cpu.c_str(), target.c_str());
    }
    if (out == stdout) {
        std::fflush(out);
    } else {
        std::fclose(out);
    }
}

}  // namespace kanaroll::bench
