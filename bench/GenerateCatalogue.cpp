// Writes a generated program folder: listinfo.txt and the name lists of it (see BenchmarkFiles.h).
//
//   generate_catalogue FOLDER [GAMES [SEED]]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

#include "bench/BenchmarkFiles.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: generate_catalogue FOLDER [GAMES [SEED]]\n");
        return 2;
    }
    kanaroll::bench::CatalogueOptions options;
    if (argc >= 3) options.gameCount = std::atoi(argv[2]);
    if (argc >= 4) options.seed = std::strtoull(argv[3], nullptr, 0);
    if (options.gameCount <= 0) {
        std::fprintf(stderr, "generate_catalogue: GAMES must be a positive number\n");
        return 2;
    }
    try {
        const auto files = kanaroll::bench::WriteBenchmarkFiles(std::filesystem::path(argv[1]), options);
        const auto& facts = files.facts;
        std::printf("%d games (%d clones, %d NeoGeo masters, %d vector, %d with samples)\n", facts.games,
                    facts.clones, facts.neoGeoMasters, facts.vectorGames, facts.sampleGames);
        std::printf("listinfo.txt: %llu bytes, FNV-1a %016llx\n",
                    static_cast<unsigned long long>(facts.listInfoBytes),
                    static_cast<unsigned long long>(facts.listInfoHash));
        std::printf("mame32j.lst: %d lines; mame32j-partial.lst: %d lines\n", files.nameListLines,
                    files.partialNameListLines);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "generate_catalogue: %s\n", error.what());
        return 1;
    }
    return 0;
}
