#pragma once

// What the fuzz targets share: the check that stops a run on a broken property, a scratch folder for
// the readers and writers that take a path, the line rules of our text files written out plainly as
// a reference, and the decoders that turn an input into a catalogue. Inputs are text with one item
// per line, so that the seed files can be written and read by hand.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <unordered_set>
#include <vector>

#include "catalogue/GameList.h"
#include "catalogue/IntegerText.h"

namespace kanaroll::fuzz {

[[noreturn]] inline void Fail(const char* file, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

// libFuzzer reports the abort as a crash and keeps the input.
#define FUZZ_CHECK(condition) ((condition) ? (void)0 : ::kanaroll::fuzz::Fail(__FILE__, __LINE__, #condition))

// One folder per process for the files a target writes, in memory (/dev/shm) where the system has
// it, so that millions of runs do not wear a disk. Removed when the process ends normally.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code error;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, error)) base = std::filesystem::temp_directory_path();
        m_path = base / ("kanaroll-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline const std::filesystem::path& Scratch() {
    static const ScratchFolder folder;
    return folder.Path();
}

inline std::filesystem::path WriteScratchFile(std::string_view name, std::string_view bytes) {
    const auto path = Scratch() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) Fail(__FILE__, __LINE__, "the scratch file could not be written");
    return path;
}

inline std::string ReadScratchFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One line of a text file as the line rules give it, with what ended it.
struct ReferenceLine {
    std::string text;
    std::string_view end;  // "\r\n", "\n", or empty at the end of the file and after a Ctrl-Z
};

// The line rules of every text file we read, one byte at a time: a line ends at LF or CR LF; a CR
// that no LF follows is dropped; Ctrl-Z (26) ends its line and the rest of that line is skipped, and
// one at the start of a line ends the file; a last line without a line end counts.
inline std::vector<ReferenceLine> ReferenceLines(std::string_view bytes) {
    std::vector<ReferenceLine> lines;
    std::size_t i = 0;
    while (i < bytes.size() && bytes[i] != 26) {
        ReferenceLine line;
        while (i < bytes.size() && bytes[i] != '\n' && bytes[i] != 26) {
            if (bytes[i] != '\r') line.text += bytes[i];
            ++i;
        }
        if (i == bytes.size()) {
        } else if (bytes[i] == 26) {
            while (i < bytes.size() && bytes[i] != '\n') ++i;
            if (i < bytes.size()) ++i;
        } else {
            line.end = i > 0 && bytes[i - 1] == '\r' ? "\r\n" : "\n";
            ++i;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

inline std::vector<std::string> ReferenceLineTexts(std::string_view bytes) {
    std::vector<std::string> texts;
    for (auto& line : ReferenceLines(bytes)) texts.push_back(std::move(line.text));
    return texts;
}

// The input cut at every `separator`; the last piece may be empty.
inline std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    for (;;) {
        const auto at = text.find(separator);
        pieces.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return pieces;
        text.remove_prefix(at + 1);
    }
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// An integer from the start of a text ("-3", "12 w"): the text before the first blank, taken by our
// integer conversion; `fallback` when it is none.
inline std::int32_t LeadingInteger(std::string_view text, std::int32_t fallback = 0) {
    const auto blank = text.find(' ');
    return TryParseInteger(text.substr(0, blank)).value_or(fallback);
}

// A game from one input line: TAB-separated zipName, englishName, japaneseName, reading,
// manufacturer, year, parentName, controlType, then flags: T translated, C clone, N NeoGeo, V vector,
// S samples, G status good, and digits for the sound channels. Missing fields keep the defaults.
inline std::unique_ptr<TRecordset> DecodeGame(std::string_view line) {
    auto game = std::make_unique<TRecordset>();
    const auto fields = Split(line, '\t');
    const auto field = [&fields](std::size_t index) -> std::optional<std::string_view> {
        if (index < fields.size()) return fields[index];
        return std::nullopt;
    };
    game->zipName = field(0).value_or("");
    game->englishName = field(1).value_or("");
    game->japaneseName = field(2).value_or(game->englishName);
    game->reading = field(3).value_or("");
    game->manufacturer = field(4).value_or("");
    if (const auto year = field(5)) game->year = *year;
    game->parentName = field(6).value_or("");
    game->controlType = field(7).value_or("");
    std::int64_t channels = 0;
    for (const char flag : field(8).value_or("")) {
        switch (flag) {
            case 'T':
                game->translated = true;
                break;
            case 'C':
                game->isMaster = false;
                break;
            case 'N':
                game->isNeoGeo = true;
                break;
            case 'V':
                game->isVector = true;
                break;
            case 'S':
                game->hasSamples = true;
                break;
            case 'G':
                game->statusGood = true;
                break;
            default:
                if (flag >= '0' && flag <= '9' && channels < 100000000)
                    channels = channels * 10 + (flag - '0');
        }
    }
    game->soundChannels = static_cast<std::int32_t>(channels);
    return game;
}

// A catalogue from input lines, one game per line, in file order (listOrder = index). With
// `uniqueZipNames` a line whose ZIP name came before is left out, as listinfo.txt never repeats one.
inline void DecodeCatalogue(const std::vector<std::string_view>& lines, GameList& games, bool uniqueZipNames,
                            std::size_t maxGames = 256) {
    std::unordered_set<std::string> seen;
    for (const auto line : lines) {
        if (static_cast<std::size_t>(games.Count()) >= maxGames) break;
        auto game = DecodeGame(line);
        if (uniqueZipNames && !seen.insert(game->zipName).second) continue;
        game->listOrder = games.Count();
        games.Append(std::move(game));
    }
}

}  // namespace kanaroll::fuzz
