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

// The start of every benchmark program: our own flags, then Google Benchmark's; exits with status 1
// on a flag neither knows.
BenchArguments StartBenchmarks(int& argc, char** argv, int defaultGames);

// The folder of the generated files: the one given by --kanaroll_data, or a fresh one named after
// `prefix` under the system's temporary folder, removed with everything in it at the end.
class BenchDataFolder {
public:
    BenchDataFolder(const BenchArguments& arguments, const std::string& prefix);
    ~BenchDataFolder();
    BenchDataFolder(const BenchDataFolder&) = delete;
    BenchDataFolder& operator=(const BenchDataFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
    bool m_temporary;
};

// Runs the benchmarks Google Benchmark was asked for, followed by the summary table under `heading`
// when --kanaroll_summary asked for one, and shuts Google Benchmark down.
void RunBenchmarks(const BenchArguments& arguments, const std::string& heading);

}  // namespace kanaroll::bench
