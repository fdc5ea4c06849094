#include "bench/BenchContext.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/NameListReader.h"

namespace kanaroll::bench {

namespace {

BenchContext& Storage() {
    static BenchContext context;
    return context;
}

void Expect(const char* what, long long found, long long expected) {
    if (found == expected) return;
    SetUpFailed(std::string(what) + ": found " + std::to_string(found) + ", generated " +
                std::to_string(expected));
}

GameList Merged(const GameList& catalogue, const std::filesystem::path& nameList, int expectedLines) {
    GameList games = CopyOf(catalogue);
    int translated = 0;
    MergeNameList(nameList, games, translated);
    Expect(("games translated by " + nameList.filename().string()).c_str(), translated, expectedLines);
    Expect("translated flags after the merge", games.CountTranslated(), expectedLines);
    return games;
}

}  // namespace

void SetUpFailed(std::string_view what) {
    std::fprintf(stderr, "\n*** kanaroll benchmarks: the generated catalogue did not read back: %.*s\n\n",
                 static_cast<int>(what.size()), what.data());
    std::fflush(stderr);
    std::abort();
}

BenchContext& Context() {
    return Storage();
}

GameList CopyOf(const GameList& games) {
    GameList copy;
    for (int i = 0; i < games.Count(); ++i) copy.Append(std::make_unique<TRecordset>(games[i]));
    return copy;
}

void SetUpContext(const std::filesystem::path& folder, const CatalogueOptions& options) {
    BenchContext& context = Storage();
    context.files = WriteBenchmarkFiles(folder, options);
    context.scratch = folder / "written";
    std::filesystem::create_directories(context.scratch);

    const CatalogueFacts& facts = context.files.facts;
    NoLoadProgress progress;
    if (!ReadListInfo(context.files.listInfo, context.catalogue, progress))
        SetUpFailed("ReadListInfo returned false on " + context.files.listInfo.string());
    const GameList& games = context.catalogue;
    Expect("games in listinfo.txt", games.Count(), facts.games);
    int clones = 0, neoGeo = 0, vector = 0, samples = 0, good = 0;
    for (int i = 0; i < games.Count(); ++i) {
        const TRecordset& game = games[i];
        Expect("listOrder in file order", game.listOrder, i);
        clones += game.isMaster ? 0 : 1;
        neoGeo += game.isNeoGeo ? 1 : 0;
        vector += game.isVector ? 1 : 0;
        samples += game.hasSamples ? 1 : 0;
        good += game.statusGood ? 1 : 0;
    }
    Expect("clones", clones, facts.clones);
    Expect("NeoGeo masters", neoGeo, facts.neoGeoMasters);
    Expect("vector games", vector, facts.vectorGames);
    Expect("games with samples", samples, facts.sampleGames);
    Expect("games whose driver status is good", good, facts.statusGood);
    Expect("translated games before any merge", games.CountTranslated(), 0);

    context.merged = Merged(games, context.files.nameList, facts.games);
    Expect("lines of mame32j.lst", context.files.nameListLines, facts.games);
    context.partial = Merged(games, context.files.partialNameList, context.files.partialNameListLines);
}

}  // namespace kanaroll::bench
