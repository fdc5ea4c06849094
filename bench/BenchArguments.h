#pragma once

#include <filesystem>
#include <string>

namespace kanaroll::bench {

// The flags of our own that the benchmark programs take before Google Benchmark's.
struct BenchArguments {
    std::filesystem::path dataFolder;  // --kanaroll_data=FOLDER; empty: a temporary folder
    int games = 50'000;                // --kanaroll_games=N
    bool summary = false;              // --kanaroll_summary[=FILE]
    std::string summaryFile;           // empty: standard output
};

// Removes our own flags from argv and returns them, `games` defaulting to `defaultGames`; the rest
// is left to Google Benchmark. Exits with status 2 on a bad number.
BenchArguments TakeBenchArguments(int& argc, char** argv, int defaultGames);

}  // namespace kanaroll::bench
