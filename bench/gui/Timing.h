#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The clock and the statistics of the GUI benchmark. Google Benchmark is not available for the
// Windows build, and a window action is measured once per repetition anyway: a few repetitions of
// something that takes milliseconds, summarised by median, minimum and maximum.
namespace kanaroll::bench::gui {

// Wall time from the performance counter, in milliseconds.
class Stopwatch {
public:
    Stopwatch() { Restart(); }
    void Restart();
    double ElapsedMs() const;

private:
    long long m_start = 0;
};

// The samples of one case and its target.
struct Figures {
    std::string name;
    double targetMs = 0;  // 0: no target, the figure is for reference
    std::vector<double> samples;
    std::string note;  // why the case has no samples, or what it measured

    double Median() const;
    double Min() const;
    double Max() const;
    bool Missed() const { return targetMs > 0 && !samples.empty() && Median() >= targetMs; }
};

// The table of every case: repetitions, median, min, max, target and verdict (the median counts).
void PrintTable(const std::vector<Figures>& figures, std::FILE* out);

}  // namespace kanaroll::bench::gui
