#include "bench/BenchArguments.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <unistd.h>  // isatty: Google Benchmark comes from Linux only

#include "bench/BenchSummary.h"

namespace kanaroll::bench {

namespace {

bool TakeValue(std::string_view argument, std::string_view flag, std::string_view& value) {
    if (argument.substr(0, flag.size()) != flag) return false;
    value = argument.substr(flag.size());
    return true;
}

}  // namespace

BenchArguments TakeBenchArguments(int& argc, char** argv, int defaultGames) {
    BenchArguments arguments;
    arguments.games = defaultGames;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        std::string_view value;
        if (TakeValue(argument, "--kanaroll_data=", value)) {
            arguments.dataFolder = std::filesystem::path(std::string(value));
        } else if (TakeValue(argument, "--kanaroll_games=", value)) {
            arguments.games = std::atoi(std::string(value).c_str());
            if (arguments.games <= 0) {
                std::fprintf(stderr, "--kanaroll_games wants a positive number\n");
                std::exit(2);
            }
        } else if (argument == "--kanaroll_summary") {
            arguments.summary = true;
        } else if (TakeValue(argument, "--kanaroll_summary=", value)) {
            arguments.summary = true;
            arguments.summaryFile = std::string(value);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return arguments;
}

BenchArguments StartBenchmarks(int& argc, char** argv, int defaultGames) {
    BenchArguments arguments = TakeBenchArguments(argc, argv, defaultGames);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) std::exit(1);
    return arguments;
}

BenchDataFolder::BenchDataFolder(const BenchArguments& arguments, const std::string& prefix)
    : m_path(arguments.dataFolder), m_temporary(arguments.dataFolder.empty()) {
    if (m_temporary) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_path = std::filesystem::temp_directory_path() / (prefix + std::to_string(stamp));
    }
}

BenchDataFolder::~BenchDataFolder() {
    if (!m_temporary) return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void RunBenchmarks(const BenchArguments& arguments, const std::string& heading) {
    if (arguments.summary) {
        SummaryReporter reporter(heading, arguments.summaryFile, isatty(fileno(stdout)) != 0);
        benchmark::RunSpecifiedBenchmarks(&reporter);
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
}

}  // namespace kanaroll::bench
