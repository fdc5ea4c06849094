// Loads a listinfo.txt and a name list into a GameList the way the start-up does, and prints the
// counts, so that a script can measure the peak memory of a loaded catalogue.
//
//   load_catalogue LISTINFO [NAMELIST]
#include <cstdio>
#include <exception>
#include <filesystem>

#include "catalogue/GameList.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/NameListReader.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: load_catalogue LISTINFO [NAMELIST]\n");
        return 2;
    }
    try {
        kanaroll::GameList games;
        kanaroll::NoLoadProgress progress;
        // The catalogue in the list's codec, as the start-up builds it.
        const kanaroll::TextCodec& codec =
            argc == 3 ? kanaroll::NameListCodec(std::filesystem::path(argv[2])) : kanaroll::ShiftJisCodec();
        if (!kanaroll::ReadListInfo(std::filesystem::path(argv[1]), games, progress, codec)) {
            std::fprintf(stderr, "load_catalogue: %s could not be read\n", argv[1]);
            return 1;
        }
        int translated = 0;
        if (argc == 3) kanaroll::MergeNameList(std::filesystem::path(argv[2]), games, translated, codec);
        std::printf("%d games, %d translated\n", games.Count(), translated);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "load_catalogue: %s\n", error.what());
        return 1;
    }
    return 0;
}
