#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "bench/CatalogueGenerator.h"
#include "bench/NameListGenerator.h"

// The program folder a benchmark works on: a generated listinfo.txt and name lists for it, with
// the facts a reader of them must find.
namespace kanaroll::bench {

// What the catalogue reader must see in the generated listinfo.txt.
struct CatalogueFacts {
    int games = 0;
    int clones = 0;
    int neoGeoMasters = 0;  // games with the line "\tromof neogeo"
    int vectorGames = 0;
    int sampleGames = 0;
    int statusGood = 0;
    std::uintmax_t listInfoBytes = 0;
    std::uint64_t listInfoHash = 0;  // FNV-1a (64 bits) of the file, to see that runs agree
};

// Streams the catalogue into `path`, never holding more than a few megabytes of it. When `entries`
// is given, it receives every game's name list entry in catalogue order.
CatalogueFacts WriteListInfo(const std::filesystem::path& path, const CatalogueOptions& options,
                             std::vector<NameListEntry>* entries = nullptr);

struct BenchmarkFiles {
    std::filesystem::path folder;
    std::filesystem::path listInfo;          // listinfo.txt
    std::filesystem::path nameList;          // mame32j.lst: every game, in catalogue order
    std::filesystem::path shuffledNameList;  // mame32j-shuffled.lst: every game, in random order
    std::filesystem::path partialNameList;   // mame32j-partial.lst: about 80% of the games
    int nameListLines = 0;
    int partialNameListLines = 0;
    CatalogueFacts facts;
};

// Writes all of the above into `folder` (created if needed). Throws std::runtime_error when a
// file cannot be written.
BenchmarkFiles WriteBenchmarkFiles(const std::filesystem::path& folder, const CatalogueOptions& options);

}  // namespace kanaroll::bench
