#include "bench/gui/Timing.h"

#include <windows.h>

#include <algorithm>

namespace kanaroll::bench::gui {

namespace {

long long Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double CounterFrequency() {
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    return frequency;
}

std::string Milliseconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, value < 10 ? "%.2f" : value < 100 ? "%.1f" : "%.0f", value);
    return text;
}

}  // namespace

void Stopwatch::Restart() {
    m_start = Counter();
}

double Stopwatch::ElapsedMs() const {
    return static_cast<double>(Counter() - m_start) * 1000.0 / CounterFrequency();
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10'000.0;  // 100 ns units
}

double Figures::Median() const {
    if (samples.empty()) return 0;
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double Figures::Min() const {
    return samples.empty() ? 0 : *std::min_element(samples.begin(), samples.end());
}

double Figures::Max() const {
    return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
}

void PrintTable(const std::vector<Figures>& figures, std::FILE* out) {
    std::size_t width = 4;
    for (const auto& figure : figures) width = std::max(width, figure.name.size());
    const int nameWidth = static_cast<int>(width);
    std::fprintf(out, "  %-*s %5s %10s %10s %10s %10s %10s  %s\n", nameWidth, "case", "reps", "median ms",
                 "min ms", "max ms", "cpu ms", "target ms", "verdict");
    for (const auto& figure : figures) {
        if (figure.samples.empty()) {
            std::fprintf(out, "  %-*s %5s %10s %10s %10s %10s %10s  %s\n", nameWidth, figure.name.c_str(),
                         "-", "-", "-", "-", "-",
                         figure.targetMs > 0 ? ("< " + Milliseconds(figure.targetMs)).c_str() : "",
                         ("skipped: " + figure.note).c_str());
            continue;
        }
        const std::string target = figure.targetMs > 0 ? "< " + Milliseconds(figure.targetMs) : "";
        const char* verdict = figure.targetMs <= 0 ? "" : figure.Missed() ? "MISSED" : "ok";
        std::fprintf(out, "  %-*s %5zu %10s %10s %10s %10s %10s  %s\n", nameWidth, figure.name.c_str(),
                     figure.samples.size(), Milliseconds(figure.Median()).c_str(),
                     Milliseconds(figure.Min()).c_str(), Milliseconds(figure.Max()).c_str(),
                     Milliseconds(figure.CpuMean()).c_str(), target.c_str(), verdict);
    }
    for (const auto& figure : figures) {
        if (!figure.samples.empty() && !figure.note.empty()) {
            std::fprintf(out, "  %s: %s\n", figure.name.c_str(), figure.note.c_str());
        }
    }
}

int PrintVerdict(const std::vector<Figures>& figures, bool allowSkips, std::FILE* out) {
    int missed = 0;
    int skipped = 0;
    for (const auto& figure : figures) {
        missed += figure.Missed() ? 1 : 0;
        skipped += figure.samples.empty() ? 1 : 0;
    }
    if (skipped) {
        std::fprintf(out, "%d case(s) skipped%s:\n", skipped,
                     allowSkips ? " (allowed by --allow-skips)" : "");
        for (const auto& figure : figures) {
            if (figure.samples.empty())
                std::fprintf(out, "  %s: %s\n", figure.name.c_str(),
                             figure.note.empty() ? "no repetition ran" : figure.note.c_str());
        }
    }
    if (missed) {
        std::fprintf(out, "%d target(s) missed.\n", missed);
    } else if (!skipped) {
        std::fprintf(out, "Every target met.\n");
    } else if (allowSkips) {
        std::fprintf(out, "Every target of the cases that ran met.\n");
    } else {
        std::fprintf(out, "Not every case ran: a skipped case fails the run (--allow-skips lets it pass).\n");
    }
    return missed || (skipped && !allowSkips) ? 1 : 0;
}

}  // namespace kanaroll::bench::gui
