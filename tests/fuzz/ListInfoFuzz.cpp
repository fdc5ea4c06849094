// The input is a listinfo.txt. ReadListInfo reads it from a file, and a plain reading of the same
// lines by the documented rules (the first rule that matches a line wins, hardware texts built from
// the fixed positions, the grouping rule) must give the same games, the same success, and on
// failure the same games read before it. The reader's keyword scan works eight bytes at a time and
// its helpers share buffers between games; this reading uses none of that.
//
// A file that looks like -listxml output goes to the XML reader (ListXmlFuzz covers it); here it
// only has to keep the list, the order and the cursor right.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/ByteText.h"
#include "catalogue/IntegerText.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/ListXmlReader.h"
#include "tests/fuzz/FuzzSupport.h"

namespace kanaroll::fuzz {
namespace {

using bytetext::Copy;
using bytetext::From;
using bytetext::Pos;

bool Has(std::string_view line, std::string_view what) {
    return line.find(what) != std::string_view::npos;
}
std::string_view First(std::string_view line, long count) {
    return line.substr(
        0, static_cast<std::size_t>(count) < line.size() ? static_cast<std::size_t>(count) : line.size());
}
std::string_view UpToBlank(std::string_view text) {
    const auto blank = text.find(' ');
    return blank == std::string_view::npos ? std::string_view{} : text.substr(0, blank);
}
std::string_view TextAfter(std::string_view line, std::string_view what) {
    const auto at = line.find(what);
    return at == std::string_view::npos ? std::string_view{} : line.substr(at + what.size());
}

// The chip description of a line with a clock: name between "name " and " clock", the clock as
// printf formats it. Empty optional when the clock is no integer.
std::optional<std::string> ClockedChip(std::string_view line) {
    const long n = Pos("name", line);
    const long m = Pos("clock", line);
    const long k = Pos(")", line);
    const auto hz = TryParseInteger(Copy(line, m + 6, k - m - 7));
    if (!hz) return std::nullopt;
    char buffer[64];
    if (*hz >= 1000000)
        std::snprintf(buffer, sizeof buffer, " @ %5.6fMHz", *hz / 1000000.0);
    else
        std::snprintf(buffer, sizeof buffer, " @ %3.3fKHz", *hz / 1000.0);
    return std::string(Copy(line, n + 5, m - n - 6)) + buffer;
}

std::string Grouped(std::vector<std::string> list) {
    std::string joined;
    for (std::size_t i = 0; i < list.size(); ++i) {
        int count = 1;
        for (std::size_t j = i + 1; j < list.size(); ++j) {
            if (list[j] == list[i]) {
                list[j].clear();
                ++count;
            }
        }
        if (list[i].empty()) continue;
        joined += ", ";
        if (count > 1) joined += std::to_string(count) + " x ";
        joined += list[i];
    }
    return joined.empty() ? joined : joined.substr(2);
}

struct Block {
    TRecordset game;
    std::vector<std::string> cpus;
    std::vector<std::string> sounds;
};

// One line of a block by the rule table; false when a number in it cannot be taken.
bool ApplyLine(Block& block, std::string_view line) {
    TRecordset& game = block.game;
    const long length = static_cast<long>(line.size());
    if (First(line, 3) == "\tcl") {
        game.parentName = From(line, 10);
        game.isMaster = false;
    } else if (First(line, 3) == "\tde") {
        game.englishName = Copy(line, 15, length - 15);
        game.japaneseName = game.englishName;
    } else if (First(line, 3) == "\tye") {
        game.year = From(line, 7);
    } else if (First(line, 3) == "\tma") {
        game.manufacturer = Copy(line, 16, length - 16);
    } else if (line == "\tromof neogeo") {
        game.isNeoGeo = true;
    } else if (First(line, 3) == "\tso") {
        const auto channels = TryParseInteger(Copy(line, Pos("chan", line) + 9, 1));
        if (!channels) return false;
        game.soundChannels = *channels;
    } else if (First(line, 3) == "\tin") {
        if (Has(line, "cont")) game.controlType = UpToBlank(From(line, Pos("control", line) + 8));
    } else if (Has(line, "vector")) {
        game.isVector = true;
    } else if (Has(line, "sample")) {
        game.hasSamples = true;
    } else if (First(line, 3) == "\tdr") {
        if (Has(line, "status good")) game.statusGood = true;
        if (Has(line, "palette")) {
            const auto size = TryParseInteger(UpToBlank(From(line, Pos("palettesize", line) + 12)));
            if (!size) return false;
            game.paletteSize = *size;
        }
    } else if (Has(line, "cpu name")) {
        const auto chip = ClockedChip(line);
        if (!chip) return false;
        block.cpus.push_back(*chip);
    } else if (Has(line, "cpu flags")) {
        const auto chip = ClockedChip(line);
        if (!chip) return false;
        block.cpus.push_back(*chip + " (sound)");
    } else if (Has(line, "type audio")) {
        if (Has(line, "clock")) {
            const auto chip = ClockedChip(line);
            if (!chip) return false;
            block.sounds.push_back(*chip);
        } else {
            const long n = Pos("name", line);
            block.sounds.emplace_back(Copy(line, n + 5, Pos(")", line) - n - 6));
        }
    } else if (First(line, 4) == "\tvid") {
        if (Has(line, " x ") && Has(line, " y ")) {
            game.videoText = std::string(UpToBlank(TextAfter(line, " x "))) + " x " +
                             std::string(UpToBlank(TextAfter(line, " y ")));
        }
        if (!game.videoText.empty() && Has(line, "freq")) {
            game.videoText += " @ ";
            game.videoText += UpToBlank(TextAfter(line, "freq "));
            game.videoText += "Hz";
        }
    }
    return true;
}

struct Expected {
    std::vector<TRecordset> games;
    bool ok = true;
};

Expected ReadPlainly(const std::vector<std::string>& lines) {
    Expected expected;
    std::size_t at = 0;
    const auto next = [&](std::string_view& line) {
        if (at == lines.size()) return false;
        line = lines[at++];
        return true;
    };
    std::string_view line;
    while (next(line)) {
        if (line != "game (") continue;
        Block block;
        if (!next(line)) line = {};
        if (line.starts_with("\tname")) block.game.zipName = From(line, 7);
        while (next(line) && !line.empty()) {
            if (!ApplyLine(block, line)) {
                expected.ok = false;
                return expected;
            }
        }
        TRecordset& game = block.game;
        game.cpuText = Grouped(block.cpus);
        game.soundText = Grouped(block.sounds);
        game.videoText = game.isVector ? "Vector Game"
                                       : game.videoText + ", " + std::to_string(game.paletteSize) + " Colors";
        game.listOrder = static_cast<std::int32_t>(expected.games.size());
        expected.games.push_back(game);
    }
    return expected;
}

bool SameGame(const TRecordset& a, const TRecordset& b) {
    return a.zipName == b.zipName && a.englishName == b.englishName && a.japaneseName == b.japaneseName &&
           a.reading == b.reading && a.manufacturer == b.manufacturer && a.year == b.year &&
           a.isMaster == b.isMaster && a.parentName == b.parentName && a.translated == b.translated &&
           a.isNeoGeo == b.isNeoGeo && a.isVector == b.isVector && a.controlType == b.controlType &&
           a.hasSamples == b.hasSamples && a.statusGood == b.statusGood &&
           a.soundChannels == b.soundChannels && a.listOrder == b.listOrder && a.cpuText == b.cpuText &&
           a.soundText == b.soundText && a.paletteSize == b.paletteSize && a.videoText == b.videoText;
}

// Records what the reader shows, to check that the cursor comes back on every way out.
class RecordingProgress final : public LoadProgress {
public:
    void SetStatusText(int panel, std::string_view text) override {
        texts.push_back(std::to_string(panel) + ":" + std::string(text));
    }
    void ProcessPendingMessages() override { ++pumps; }
    void BeginWaitCursor() override { ++cursorDepth, ++cursorShown; }
    void EndWaitCursor() override { --cursorDepth; }

    std::vector<std::string> texts;
    int pumps = 0;
    int cursorDepth = 0;
    int cursorShown = 0;
};

}  // namespace
}  // namespace kanaroll::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    const std::string_view bytes = AsText(data, size);
    const auto path = WriteScratchFile("listinfo.txt", bytes);

    // A game already in the list stays first and untouched; the reader only appends.
    GameList games;
    auto earlier = std::make_unique<TRecordset>();
    earlier->zipName = "earlier";
    earlier->listOrder = 41;
    const TRecordset earlierCopy = *earlier;
    games.Append(std::move(earlier));

    RecordingProgress progress;
    const bool ok = ReadListInfo(path, games, progress);

    FUZZ_CHECK(SameGame(games[0], earlierCopy));
    for (int i = 1; i < games.Count(); ++i) FUZZ_CHECK(games[i].listOrder == i - 1);
    if (!IsListXml(path)) {
        const Expected expected = ReadPlainly(ReferenceLineTexts(bytes));
        FUZZ_CHECK(ok == expected.ok);
        FUZZ_CHECK(games.Count() == static_cast<int>(expected.games.size()) + 1);
        for (int i = 1; i < games.Count(); ++i)
            FUZZ_CHECK(SameGame(games[i], expected.games[static_cast<std::size_t>(i - 1)]));
    }

    FUZZ_CHECK(progress.cursorDepth == 0 && progress.cursorShown == 1);
    FUZZ_CHECK(progress.pumps == 1);
    FUZZ_CHECK(!progress.texts.empty() && progress.texts.front() == "0:listinfo.txtを解析中...");
    if (ok) FUZZ_CHECK(progress.texts.size() == 4 && progress.texts[1] == "0:" && progress.texts[3] == "2:");
    return 0;
}
