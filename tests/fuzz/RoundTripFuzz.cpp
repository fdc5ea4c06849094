// The input's first line is a sort key (0: unsorted), every further line one game (see DecodeGame
// in FuzzSupport.h). The catalogue is sorted by that key and written in both formats; each file is
// then merged into a fresh copy of the catalogue as the start-up load builds it (file order, nothing
// translated, the Japanese title equal to the English one). Every translated game must come back
// with the same title and reading, and the lines must be those of the format tables, in file order.
//
// ZIP names are unique, as in every listinfo.txt. The generated texts hold no TAB, CR, LF or byte 26
// (Ctrl-Z ends a line when it is read): the files cannot carry them, and the windows refuse them at
// the fields, so no catalogue the program writes holds them.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/ListChecks.h"
#include "catalogue/NameListReader.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/Recode.h"
#include "mainwindow/GameOrder.h"
#include "tests/fuzz/FuzzSupport.h"

namespace kanaroll::fuzz {
namespace {

void KeepToOneLine(std::string& text) {
    std::erase_if(text, [](char c) { return c == '\r' || c == 26; });
}

void KeepToOneLine(TRecordset& game) {
    for (std::string* text : {&game.zipName, &game.englishName, &game.japaneseName, &game.reading,
                              &game.manufacturer, &game.year, &game.parentName, &game.controlType})
        KeepToOneLine(*text);
}

// The catalogue as the start-up load leaves it before the name list is merged.
void FreshCopy(const GameList& games, GameList& fresh) {
    for (const TRecordset* game : games.InFileOrder()) {
        auto copy = std::make_unique<TRecordset>(*game);
        copy->translated = false;
        copy->japaneseName = copy->englishName;
        copy->reading.clear();
        fresh.Append(std::move(copy));
    }
}

std::string Mame32JLine(const TRecordset& game) {
    return game.zipName + '\t' + game.japaneseName + '\t' + game.reading + '\t' + game.manufacturer + "\r\n";
}

std::string Mane32JLine(const TRecordset& game) {
    const std::string& title = game.translated ? game.japaneseName : game.englishName;
    const std::string& reading = game.translated ? game.reading : game.englishName;
    const std::string master = !game.isMaster ? game.parentName : game.isNeoGeo ? "neogeo" : "";
    std::string line;
    bool first = true;
    for (const std::string& field :
         {game.zipName, title, reading, game.manufacturer, game.year, master,
          std::string(game.hasSamples ? "Sample" : ""), std::string(game.isVector ? "vector" : "raster"),
          std::to_string(game.soundChannels), game.controlType,
          std::string(game.statusGood ? "good" : "preliminary")}) {
        if (!first) line += '\t';
        line += field;
        first = false;
    }
    return line + "\r\n";
}

}  // namespace
}  // namespace kanaroll::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    auto lines = Split(AsText(data, size), '\n');
    const int sortKey = LeadingInteger(lines[0]);
    lines.erase(lines.begin());

    GameList games;
    DecodeCatalogue(lines, games, false);
    for (auto& game : games.Items()) KeepToOneLine(*game);
    // Unique ZIP names once the texts are cleaned. A list that begins with the bytes of the UTF-8
    // byte-order mark is read as a UTF-8 list, so a first ZIP name cannot begin with them in a
    // Shift-JIS one (where they would be a kanji and a half-width kana: no ZIP name of MAME's).
    std::vector<std::string> seen;
    std::erase_if(games.Items(), [&seen](const auto& game) {
        if (game->zipName.starts_with("\xEF\xBB\xBF")) return true;
        if (std::find(seen.begin(), seen.end(), game->zipName) != seen.end()) return true;
        seen.push_back(game->zipName);
        return false;
    });
    for (int i = 0; i < games.Count(); ++i) games[i].listOrder = i;
    if (sortKey != 0) SortGames(games, sortKey);

    const auto inFileOrder = games.InFileOrder();
    std::string mame32j, mane32j;
    int translated = 0;
    for (const TRecordset* game : inFileOrder) {
        if (game->translated) {
            mame32j += Mame32JLine(*game);
            ++translated;
        }
        mane32j += Mane32JLine(*game);
    }

    const auto mame32jPath = Scratch() / "mame32j.lst";
    WriteMame32J(mame32jPath, games);
    FUZZ_CHECK(ReadScratchFile(mame32jPath) == mame32j);
    GameList fromMame32J;
    FreshCopy(games, fromMame32J);
    int mame32jCount = 0;
    MergeNameList(mame32jPath, fromMame32J, mame32jCount);
    FUZZ_CHECK(mame32jCount == translated);

    const auto mane32jPath = Scratch() / "MANE32J.lst";
    WriteMane32J(mane32jPath, games);
    FUZZ_CHECK(ReadScratchFile(mane32jPath) == mane32j);
    GameList fromMane32J;
    FreshCopy(games, fromMane32J);
    int mane32jCount = 0;
    MergeNameList(mane32jPath, fromMane32J, mane32jCount);
    // Every game is listed in this format, the untranslated ones with their English title.
    FUZZ_CHECK(mane32jCount == games.Count());

    // The list for MAME's UI gives the translated games back in UTF-8, and the checks see every line
    // of it; ZIP names that differ in Shift-JIS may meet in UTF-8 (bytes that are no character all
    // become U+FFFD), and only then may a ZIP name come twice.
    const auto mameUiPath = Scratch() / "mameui.lst";
    const LoadedNameList nothingKept;
    WriteMameUiList(mameUiPath, games, nothingKept, ShiftJisCodec());
    GameList fromMameUi;
    FreshCopy(games, fromMameUi);
    std::vector<std::string> utf8Names;
    for (auto& game : fromMameUi.Items()) {
        RecodeTexts(*game, ShiftJisCodec(), Utf8Codec());
        utf8Names.push_back(game->zipName);
    }
    std::sort(utf8Names.begin(), utf8Names.end());
    const bool namesStayApart = std::adjacent_find(utf8Names.begin(), utf8Names.end()) == utf8Names.end();
    int mameUiCount = 0;
    MergeNameList(mameUiPath, fromMameUi, mameUiCount, Utf8Codec());
    const ListCheckReport report =
        CheckList(ListLines(games, nothingKept, ShiftJisCodec(), ListFormat::MameUi));
    for (const ListFinding& finding : report.findings) {
        FUZZ_CHECK(finding.game >= 0 && finding.game < games.Count());
        FUZZ_CHECK(!namesStayApart || finding.problem != ListProblem::DuplicateZipName);
    }
    if (namesStayApart) {
        FUZZ_CHECK(mameUiCount == translated);
        for (std::size_t i = 0; i < inFileOrder.size(); ++i) {
            const TRecordset& game = *inFileOrder[i];
            const TRecordset& back = fromMameUi[static_cast<int>(i)];
            if (!game.translated || game.zipName.empty()) continue;
            FUZZ_CHECK(back.japaneseName == ShiftJisCodec().ToUtf8(game.japaneseName));
            FUZZ_CHECK(back.reading == ShiftJisCodec().ToUtf8(game.reading));
        }
    }

    for (std::size_t i = 0; i < inFileOrder.size(); ++i) {
        const TRecordset& game = *inFileOrder[i];
        const TRecordset& back = fromMame32J[static_cast<int>(i)];
        const TRecordset& backMane = fromMane32J[static_cast<int>(i)];
        FUZZ_CHECK(back.zipName == game.zipName);
        FUZZ_CHECK(back.translated == game.translated);
        FUZZ_CHECK(backMane.translated);
        if (game.translated) {
            FUZZ_CHECK(back.japaneseName == game.japaneseName && back.reading == game.reading);
            FUZZ_CHECK(backMane.japaneseName == game.japaneseName && backMane.reading == game.reading);
        } else {
            FUZZ_CHECK(back.japaneseName == game.englishName && back.reading.empty());
            FUZZ_CHECK(backMane.japaneseName == game.englishName && backMane.reading == game.englishName);
        }
    }
    return 0;
}
