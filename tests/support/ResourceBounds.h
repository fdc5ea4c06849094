#pragma once

#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

namespace kanaroll::testing {

// What a piece of work cost: how long it ran, and how far the process's resident memory rose above
// where it stood before the work, at its highest.
struct ResourceUse {
    double seconds = 0;
    std::optional<double> peakGrowthMiB;  // measured on Linux only
};

// Bounds that tell a hang or a runaway allocation from ordinary work: far above what the work takes
// even under AddressSanitizer or Wine on a machine shared tenfold (a 3 s start took 36 s at a load
// of 20 on two cores), so they catch faults, not slowness. Speed targets belong to the benchmarks.
constexpr double kHangSeconds = 120.0;

namespace detail {

// A field of /proc/self/status in KiB ("VmRSS:", "VmHWM:"), or -1.
inline long StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(field.size()));
    }
    return -1;
}

// Lets the high-water mark of the resident memory start again from the memory in use now.
inline bool ResetPeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

}  // namespace detail

inline ResourceUse Measure(const std::function<void()>& work) {
    ResourceUse use;
#ifdef __linux__
    const bool peakReset = detail::ResetPeakMemory();
    const long before = detail::StatusKiB("VmRSS:");
#endif
    const auto start = std::chrono::steady_clock::now();
    work();
    use.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
#ifdef __linux__
    const long peak = detail::StatusKiB("VmHWM:");
    if (peakReset && before >= 0 && peak >= 0) use.peakGrowthMiB = (peak - before) / 1024.0;
#endif
    return use;
}

}  // namespace kanaroll::testing
