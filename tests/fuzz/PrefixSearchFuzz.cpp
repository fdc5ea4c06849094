// The input's first line is the typed text, the second the start row ("5", "-1", "12 w" with "w"
// for a wrapping search), every further line the ZIP name of one game. For both codecs FindZipPrefix
// must answer what probing the rows one by one answers: from the start row (a negative one counts as
// row 0, one past the end as the end) to the last row, then from row 0 when the search wraps, each
// row at most once, the first whose upper-cased ZIP name begins with the upper-cased typed text.
// Besides the start row given, every start row around the list is tried, with and without wrap.

#include <cstdint>
#include <string>
#include <string_view>

#include "mainwindow/GameOrder.h"
#include "tests/fuzz/FuzzSupport.h"

namespace kanaroll::fuzz {
namespace {

int PlainFind(const GameList& games, std::string_view typed, int startRow, bool wrap,
              const TextCodec& codec) {
    const int count = games.Count();
    const std::string upperTyped = codec.ToUpper(typed);
    const auto matches = [&](int row) { return codec.ToUpper(games[row].zipName).starts_with(upperTyped); };
    const int first = startRow < 0 ? 0 : startRow > count ? count : startRow;
    for (int row = first; row < count; ++row)
        if (matches(row)) return row;
    if (wrap)
        for (int row = 0; row < first; ++row)
            if (matches(row)) return row;
    return -1;
}

void Check(const GameList& games, std::string_view typed, int startRow, bool wrap, const TextCodec& codec) {
    const int found = FindZipPrefix(games, typed, startRow, wrap, codec);
    FUZZ_CHECK(found == PlainFind(games, typed, startRow, wrap, codec));
}

}  // namespace
}  // namespace kanaroll::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    const auto lines = Split(AsText(data, size), '\n');
    const std::string_view typed = lines[0];
    const std::string_view start = lines.size() > 1 ? lines[1] : std::string_view{};
    const int startRow = LeadingInteger(start);
    const bool wrap = start.find('w') != std::string_view::npos;

    GameList games;
    for (std::size_t i = 2; i < lines.size() && games.Count() < 256; ++i) {
        auto game = std::make_unique<TRecordset>();
        game->zipName = lines[i];
        game->listOrder = games.Count();
        games.Append(std::move(game));
    }

    for (const TextCodec* codec : {&ShiftJisCodec(), &Utf8Codec()}) {
        Check(games, typed, startRow, wrap, *codec);
        if (games.Count() > 64) continue;
        for (int row = -2; row <= games.Count() + 1; ++row) {
            Check(games, typed, row, false, *codec);
            Check(games, typed, row, true, *codec);
        }
    }
    return 0;
}
