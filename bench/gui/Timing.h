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

// The processor time this process has used so far (every thread, user and kernel), in
// milliseconds. Windows and Wine count it in coarse steps (Wine in the kernel's 10 ms ticks), so a
// single action reads as 0 or a whole step; summed over many repetitions the mean is sound.
double ProcessCpuMs();

// The samples of one case and its target.
struct Figures {
    std::string name;
    double targetMs = 0;  // 0: no target, the figure is for reference
    std::vector<double> samples;
    double cpuMs = 0;  // the processor time of all the timed repetitions together
    std::string note;  // why the case has no samples, or what it measured

    // The processor time per repetition: what the program itself spent, without the time it
    // waited for the window server and the display (under Wine, separate processes).
    double CpuMean() const { return samples.empty() ? 0 : cpuMs / static_cast<double>(samples.size()); }
    double Median() const;
    double Min() const;
    double Max() const;
    bool Missed() const { return targetMs > 0 && !samples.empty() && Median() >= targetMs; }
};

// The table of every case: repetitions, median, min, max, mean processor time, target and verdict
// (the median wall time counts).
void PrintTable(const std::vector<Figures>& figures, std::FILE* out);

// The verdict under the table: the skipped cases with their reasons, then how many targets were
// missed or that every one was met. A skipped case fails the run as a missed target does, since a
// skip has hidden a real fault before, unless `allowSkips` (a machine without what the case
// needs). Returns the exit status: 0 when the run passes, else 1.
int PrintVerdict(const std::vector<Figures>& figures, bool allowSkips, std::FILE* out);

}  // namespace kanaroll::bench::gui
