// The input is a listinfo.txt (-listinfo or -listxml), then a line "%%", then a name list (Shift-JIS,
// or UTF-8 with the byte-order mark). Both are read by the readers the start-up uses, the engine
// learns from whatever they accepted, and every game is proposed for, as the window would ask. Every
// proposal must be fit for a field of that list: no TAB, CR, LF or Ctrl-Z, at most 255 bytes, and
// only what the list's encoding holds. The search for untranslated games must find only those.

#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/NameListReader.h"
#include "catalogue/Recode.h"
#include "proposals/ProposalEngine.h"
#include "proposals/UntranslatedSearch.h"
#include "replace/ReplacePatterns.h"
#include "tests/fuzz/FuzzSupport.h"

namespace kanaroll::fuzz {
namespace {

bool WellFormedUtf8(std::string_view text) {
    std::string again;
    std::size_t offset = 0;
    while (offset < text.size()) AppendUtf8(again, DecodeUtf8(text, offset));
    return again == text;
}

void CheckFit(std::string_view proposal, const TextCodec& codec) {
    FUZZ_CHECK(proposal.size() <= 255);
    for (const char c : proposal) FUZZ_CHECK(c != '\t' && c != '\r' && c != '\n' && c != '\x1A');
    if (&codec == &Utf8Codec()) {
        FUZZ_CHECK(WellFormedUtf8(proposal));
    } else {
        FUZZ_CHECK(Recode(Recode(proposal, codec, Utf8Codec()), Utf8Codec(), codec) == proposal);
    }
}

}  // namespace
}  // namespace kanaroll::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    const std::string_view bytes = AsText(data, size);
    const auto separator = bytes.find("\n%%\n");
    const std::string_view catalogue = bytes.substr(0, separator);
    const std::string_view list =
        separator == std::string_view::npos ? std::string_view{} : bytes.substr(separator + 4);
    const auto listInfoPath = WriteScratchFile("listinfo.txt", catalogue);
    const auto listPath = WriteScratchFile("mame32j.lst", list);

    GameList games;
    NoLoadProgress progress;
    const TextCodec& codec = NameListCodec(listPath);
    ReadListInfo(listInfoPath, games, progress, codec);  // what it read before a failure stays
    int translated = 0;
    LoadedNameList loaded;
    try {
        loaded = MergeNameList(listPath, games, translated, codec);
    } catch (const std::exception&) {
    }

    ProposalEngine engine;
    engine.Learn(games, codec, DefaultReplaceRules(codec), loaded.keptLines);
    for (const auto& game : games.Items()) {
        CheckFit(engine.ProposeTitle(*game), codec);
        CheckFit(engine.ProposeReading(*game), codec);
        CheckFit(engine.ProposeReadingForTitle(*game, game->englishName), codec);
        CheckFit(engine.ProposeReadingForTitle(*game, game->japaneseName), codec);
    }
    for (int row = -1; row < games.Count(); ++row)
        for (const bool forward : {true, false}) {
            const int found = FindUntranslated(games, row, forward);
            FUZZ_CHECK(found >= -1 && found < games.Count());
            FUZZ_CHECK(found == -1 ? games.CountTranslated() == games.Count() : !games[found].translated);
        }
    return 0;
}
