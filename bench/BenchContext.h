#pragma once

#include <filesystem>
#include <string_view>

#include "bench/BenchmarkFiles.h"
#include "catalogue/GameList.h"

// The data every core benchmark works on, generated and checked once before the first benchmark.
namespace kanaroll::bench {

struct BenchContext {
    BenchmarkFiles files;
    std::filesystem::path scratch;  // where the writers write
    GameList catalogue;             // listinfo.txt as read, nothing translated
    GameList merged;                // every game translated by mame32j.lst
    GameList partial;               // about 80% translated, the rest with empty readings
};

// Generates the files into `folder` and reads them back; stops the program with a message when
// they do not read back into the games that were generated.
void SetUpContext(const std::filesystem::path& folder, const CatalogueOptions& options);
BenchContext& Context();

// A deep copy of every record, in the same order.
GameList CopyOf(const GameList& games);

// Ends the program loudly: a benchmark on data that did not read back as generated measures nothing.
[[noreturn]] void SetUpFailed(std::string_view what);

}  // namespace kanaroll::bench
