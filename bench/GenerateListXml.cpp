// Writes a generated catalogue as MAME's -listxml output (see ListXmlGenerator.h), the file that
// "MAME -listxml > listinfo.txt" makes.
//
//   generate_listxml FILE [GAMES [SEED]]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

#include "bench/ListXmlGenerator.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: generate_listxml FILE [GAMES [SEED]]\n");
        return 2;
    }
    kanaroll::bench::CatalogueOptions options;
    options.gameCount = 45'000;
    if (argc >= 3) options.gameCount = std::atoi(argv[2]);
    if (argc >= 4) options.seed = std::strtoull(argv[3], nullptr, 0);
    if (options.gameCount <= 0) {
        std::fprintf(stderr, "generate_listxml: GAMES must be a positive number\n");
        return 2;
    }
    try {
        const auto facts = kanaroll::bench::WriteListXml(std::filesystem::path(argv[1]), options);
        std::printf("%d machines (%d clones, %d NeoGeo masters, %d vector, %d with samples)\n", facts.games,
                    facts.clones, facts.neoGeoMasters, facts.vectorGames, facts.sampleGames);
        std::printf("%s: %llu bytes, FNV-1a %016llx\n", argv[1],
                    static_cast<unsigned long long>(facts.listInfoBytes),
                    static_cast<unsigned long long>(facts.listInfoHash));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "generate_listxml: %s\n", error.what());
        return 1;
    }
    return 0;
}
