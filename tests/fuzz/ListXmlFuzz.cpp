// The input is a listinfo.txt holding -listxml output. The element scanner reads the file in chunks
// of several sizes, down to one byte, and must hand out the same root children (name and bytes,
// each from its "<" to its ">") and end the same way, whatever the chunk size, with and without
// leaving out the children a reader does not use. ReadListInfo then takes the file as XML: a game
// already in the list stays first and untouched, the games read get listOrder 0, 1, 2, ..., and the
// cursor comes back on every way out; read with the UTF-8 codec instead of Shift-JIS the same games
// are taken and the read ends the same way. Parsing each machine whole gives the same games as far
// as it gets, and fails wherever the quick read fails.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/IntegerText.h"
#include "catalogue/IoError.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/ListXmlReader.h"
#include "tests/fuzz/FuzzSupport.h"

namespace kanaroll::fuzz {
namespace {

struct Elements {
    std::vector<std::pair<std::string, std::string>> items;
    bool malformed = false;
    bool truncated = false;  // ended inside the root: the read keeps what came before

    bool operator==(const Elements&) const = default;
};

constexpr std::string_view kGames[] = {"machine", "game"};
constexpr std::string_view kUsed[] = {"description", "chip", "input"};

Elements ReadElements(const std::filesystem::path& path, std::size_t chunk, bool selecting = false) {
    Elements elements;
    ListXmlElements scanner =
        selecting ? ListXmlElements(path, {kGames, kUsed}, chunk) : ListXmlElements(path, chunk);
    std::string_view name, element;
    try {
        while (scanner.Next(name, element)) {
            FUZZ_CHECK(element.starts_with("<") && element.substr(1).starts_with(name) &&
                       element.ends_with(">"));
            elements.items.emplace_back(name, element);
        }
    } catch (const XmlTruncatedError&) {
        elements.truncated = true;
    } catch (const XmlFormatError&) {
        elements.malformed = true;
    }
    return elements;
}

class CursorCount final : public LoadProgress {
public:
    void SetStatusText(int, std::string_view) override {}
    void ProcessPendingMessages() override {}
    void BeginWaitCursor() override { ++depth; }
    void EndWaitCursor() override { --depth; }
    int depth = 0;
};

// The games of a direct read and whether it ended early.
std::pair<std::vector<std::string>, bool> ReadWith(const std::filesystem::path& path, const TextCodec& codec,
                                                   ListXmlParsing parsing = ListXmlParsing::UsedChildren) {
    GameList games;
    bool failed = false;
    try {
        ReadListXml(path, games, codec, parsing);
    } catch (const XmlFormatError&) {
        failed = true;
    } catch (const ConversionError&) {
        failed = true;
    }
    std::vector<std::string> names;
    for (int i = 0; i < games.Count(); ++i) {
        FUZZ_CHECK(games[i].listOrder == i);
        const TRecordset& g = games[i];
        names.push_back(codec.ToUtf8(
            g.zipName + '|' + g.englishName + '|' + g.year + '|' + g.manufacturer + '|' + g.parentName + '|' +
            g.controlType + '|' + g.cpuText + '|' + g.soundText + '|' + g.videoText + '|' +
            std::to_string(g.soundChannels) + (g.isMaster ? "m" : "") + (g.isNeoGeo ? "n" : "") +
            (g.isVector ? "v" : "") + (g.hasSamples ? "s" : "") + (g.statusGood ? "g" : "")));
    }
    return {names, failed};
}

}  // namespace
}  // namespace kanaroll::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    const auto path = WriteScratchFile("listinfo.txt", AsText(data, size));

    // 8192 is more than the fuzzer's inputs: the whole file in one read, as the 1 MiB default does.
    const Elements whole = ReadElements(path, 8192);
    // Each chunk costs a call into the system: single bytes only for short inputs.
    if (size <= 512) FUZZ_CHECK(ReadElements(path, 1) == whole);
    for (const std::size_t chunk : {3, 7}) FUZZ_CHECK(ReadElements(path, chunk) == whole);
    const Elements selected = ReadElements(path, 8192, true);
    for (const std::size_t chunk : {1, 5}) {
        if (chunk > 1 || size <= 512) FUZZ_CHECK(ReadElements(path, chunk, true) == selected);
    }

    if (!IsListXml(path)) return 0;
    GameList games;
    auto earlier = std::make_unique<TRecordset>();
    earlier->zipName = "earlier";
    games.Append(std::move(earlier));
    CursorCount progress;
    const bool ok = ReadListInfo(path, games, progress);
    FUZZ_CHECK(progress.depth == 0);
    FUZZ_CHECK(games[0].zipName == "earlier" && games[0].listOrder == 0);
    for (int i = 1; i < games.Count(); ++i) FUZZ_CHECK(games[i].listOrder == i - 1);
    if (!whole.malformed) {
        int machines = 0;
        for (const auto& [name, element] : whole.items) machines += name == "machine" || name == "game";
        FUZZ_CHECK(games.Count() - 1 <= machines);
    } else {
        FUZZ_CHECK(!ok);
    }

    const auto utf8 = ReadWith(path, Utf8Codec());
    FUZZ_CHECK(utf8.second == !ok);
    FUZZ_CHECK(static_cast<int>(utf8.first.size()) == games.Count() - 1);

    const auto used = ReadWith(path, ShiftJisCodec());
    const auto parsedWhole = ReadWith(path, ShiftJisCodec(), ListXmlParsing::WholeElements);
    FUZZ_CHECK(parsedWhole.first.size() <= used.first.size());
    for (std::size_t i = 0; i < parsedWhole.first.size(); ++i)
        FUZZ_CHECK(parsedWhole.first[i] == used.first[i]);
    if (!parsedWhole.second) FUZZ_CHECK(!used.second && used.first.size() == parsedWhole.first.size());
    return 0;
}
