#pragma once

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>

// The floor for any reader of a text file, and a reader timed against it in the same run.
namespace kanaroll::bench {

// Every line of the file into one std::string; gives the bytes of the lines.
inline std::size_t GetlineLoop(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    std::size_t bytes = 0;
    while (std::getline(in, line)) bytes += line.size();
    benchmark::DoNotOptimize(bytes);
    return bytes;
}

// Times `read` as the body of the benchmark's loop and runs the getline loop over `file` between
// its iterations, untimed, so that the two speeds come from the same moments of the same run: the
// counter vs_getline is the getline loop's time over the reader's (steady under a changing load,
// though the loop runs slower there than on its own). `finish`, untimed as well, checks and clears
// what `read` made and gives a text when it went wrong, which ends the benchmark.
template <typename Read, typename Finish>
void TimeAgainstGetline(benchmark::State& state, const std::filesystem::path& file, Read read,
                        Finish finish) {
    using Clock = std::chrono::steady_clock;
    const auto secondsSince = [](Clock::time_point start) {
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    double readSeconds = 0;
    double getlineSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        read();
        readSeconds += secondsSince(start);

        state.PauseTiming();
        const char* failure = finish();
        const auto getlineStart = Clock::now();
        GetlineLoop(file);
        getlineSeconds += secondsSince(getlineStart);
        state.ResumeTiming();
        if (failure) {
            state.SkipWithError(failure);
            break;
        }
    }
    if (readSeconds > 0) state.counters["vs_getline"] = getlineSeconds / readSeconds;
}

}  // namespace kanaroll::bench
