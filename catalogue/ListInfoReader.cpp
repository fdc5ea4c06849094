#include "catalogue/ListInfoReader.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "catalogue/ByteText.h"
#include "catalogue/HardwareText.h"
#include "catalogue/IntegerText.h"
#include "catalogue/IoError.h"
#include "catalogue/ListXmlReader.h"
#include "catalogue/Recode.h"
#include "catalogue/TextFile.h"

namespace kanaroll {

namespace {

using bytetext::Contains;
using bytetext::Copy;
using bytetext::From;
using bytetext::Pos;
using bytetext::StartsWith;
using bytetext::UpToFirstBlank;

// Keywords looked for anywhere in a line that no prefix rule took. Most such lines are rom lines,
// so one pass over the line looks for the bytes "v" and "p", one of which every keyword holds, and
// only looks around those; it runs sixteen bytes at a time where the processor allows (eight
// elsewhere) and needs nothing of the C runtime, whose memchr is slow on some platforms.
constexpr unsigned kVector = 1;
constexpr unsigned kSample = 2;
constexpr unsigned kCpuName = 4;
constexpr unsigned kCpuFlags = 8;
constexpr unsigned kTypeAudio = 16;

bool HasAt(std::string_view line, std::size_t at, std::string_view word) {
    return line.size() - at >= word.size() && std::memcmp(line.data() + at, word.data(), word.size()) == 0;
}

// The keywords that hold the byte at `at`.
unsigned KeywordsAround(std::string_view line, std::size_t at) {
    const char c = line[at];
    if (c == 'v') return HasAt(line, at, "vector") ? kVector : 0;
    if (c != 'p') return 0;
    unsigned found = 0;
    if (at >= 3 && HasAt(line, at - 3, "sample")) found |= kSample;
    if (at >= 1 && HasAt(line, at - 1, "cpu ")) {
        if (HasAt(line, at - 1, "cpu name")) found |= kCpuName;
        if (HasAt(line, at - 1, "cpu flags")) found |= kCpuFlags;
    }
    if (at >= 2 && HasAt(line, at - 2, "type audio")) found |= kTypeAudio;
    return found;
}

// The keywords around the bytes of `line` from `at` on that `hits` marks (bit i for line[at + i]),
// or kVector alone once "vector" is found, since it wins over them all.
unsigned KeywordsAroundHits(std::string_view line, std::size_t at, unsigned hits) {
    unsigned found = 0;
    for (; hits != 0; hits &= hits - 1) {
        found |= KeywordsAround(line, at + static_cast<std::size_t>(std::countr_zero(hits)));
        if (found & kVector) return kVector;
    }
    return found;
}

// Every keyword the line holds, except that the search stops at "vector", which wins over them all.
unsigned FindKeywords(std::string_view line) {
    const std::size_t size = line.size();
    unsigned found = 0;
#if defined(__SSE2__)
    constexpr std::size_t kStep = 16;
    if (size >= kStep) {
        const __m128i allV = _mm_set1_epi8('v');
        const __m128i allP = _mm_set1_epi8('p');
        // The last block overlaps the one before it; its bytes looked at already are left out.
        for (std::size_t at = 0;; at += kStep) {
            unsigned fresh = 0xFFFF;
            if (at > size - kStep) {
                fresh <<= at - (size - kStep);
                at = size - kStep;
            }
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + at));
            const auto hits = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, allV), _mm_cmpeq_epi8(bytes, allP))));
            if (hits & fresh) {
                found |= KeywordsAroundHits(line, at, hits & fresh);
                if (found & kVector) return found;
            }
            if (at == size - kStep) return found;
        }
    }
#else
    // Nonzero when one of the eight bytes of `word` is zero.
    const auto hasZeroByte = [](std::uint64_t word) {
        return (word - 0x0101010101010101ULL) & ~word & 0x8080808080808080ULL;
    };
    constexpr std::uint64_t kAllV = 0x7676767676767676ULL;
    constexpr std::uint64_t kAllP = 0x7070707070707070ULL;
    if (size >= 8) {
        // The last word overlaps the one before it; looking at a byte twice finds the same keywords.
        for (std::size_t at = 0;; at += 8) {
            if (at > size - 8) at = size - 8;
            std::uint64_t word;
            std::memcpy(&word, line.data() + at, 8);
            if (hasZeroByte(word ^ kAllV) | hasZeroByte(word ^ kAllP)) {
                found |= KeywordsAroundHits(line, at, 0xFF);
                if (found & kVector) return found;
            }
            if (at == size - 8) return found;
        }
    }
#endif
    for (std::size_t at = 0; at < size; ++at) found |= KeywordsAround(line, at);
    return found;
}

// Builds the games of one file; keeps the chip lists' storage from one game to the next.
class GameBuilder {
public:
    // Applies one line inside a block to `game`: the first rule that matches the line wins.
    void TakeLine(TRecordset& game, std::string_view line);
    // Turns the collected chip and video facts into the game's display texts.
    void Finish(TRecordset& game);

private:
    bool TakeByPrefix(TRecordset& game, std::string_view line);

    hardware::DescriptionList m_cpus;
    hardware::DescriptionList m_sounds;
};

// The rules for the lines that begin with a TAB and a known keyword. False when none of them
// applies, so that the line is looked at by its contents.
bool GameBuilder::TakeByPrefix(TRecordset& game, std::string_view line) {
    if (line.size() < 3 || line[0] != '\t') return false;
    const char first = line[1];
    const char second = line[2];
    if (first == 'c' && second == 'l') {  // cloneof
        game.parentName.assign(From(line, 10));
        game.isMaster = false;
    } else if (first == 'd' && second == 'e') {  // description "..."
        game.englishName.assign(Copy(line, 15, static_cast<long>(line.size()) - 15));
        game.japaneseName = game.englishName;
    } else if (first == 'y' && second == 'e') {  // year
        game.year.assign(From(line, 7));
    } else if (first == 'm' && second == 'a') {  // manufacturer "..."
        game.manufacturer.assign(Copy(line, 16, static_cast<long>(line.size()) - 16));
    } else if (line == "\tromof neogeo") {
        game.isNeoGeo = true;
    } else if (first == 's' && second == 'o') {  // sound ( channels N )
        const long chan = Pos("chan", line);
        game.soundChannels = ParseInteger(Copy(line, chan + 9, 1));
    } else if (first == 'i' && second == 'n') {  // input ( ... control WORD ... )
        if (Contains(line, "cont")) {
            const long control = Pos("control", line);
            game.controlType.assign(UpToFirstBlank(From(line, control + 8)));
        }
    } else {
        return false;
    }
    return true;
}

void GameBuilder::TakeLine(TRecordset& game, std::string_view line) {
    if (TakeByPrefix(game, line)) return;
    const unsigned keywords = FindKeywords(line);
    if (keywords & kVector) {
        // A vector game's video line stops here, so its size and rate are never read.
        game.isVector = true;
    } else if (keywords & kSample) {
        game.hasSamples = true;
    } else if (StartsWith(line, "\tdr")) {  // driver ( status good ... palettesize N )
        if (Contains(line, "status good")) game.statusGood = true;
        if (Contains(line, "palette")) {
            const long size = Pos("palettesize", line);
            game.paletteSize = ParseInteger(UpToFirstBlank(From(line, size + 12)));
        }
    } else if (keywords & kCpuName) {
        hardware::AppendClockedChip(m_cpus.Add(), line);
    } else if (keywords & kCpuFlags) {  // a CPU that drives the sound
        std::string& cpu = m_cpus.Add();
        hardware::AppendClockedChip(cpu, line);
        cpu += " (sound)";
    } else if (keywords & kTypeAudio) {
        hardware::AppendSoundChip(m_sounds.Add(), line);
    } else if (StartsWith(line, "\tvid")) {
        hardware::ApplyVideoLine(game.videoText, line);
    }
}

void GameBuilder::Finish(TRecordset& game) {
    game.cpuText = m_cpus.TakeGrouped();
    game.soundText = m_sounds.TakeGrouped();
    if (game.isVector) {
        game.videoText = "Vector Game";
    } else {
        game.videoText += ", ";
        game.videoText += std::to_string(game.paletteSize);
        game.videoText += " Colors";
    }
}

// Reads every block of the file into `games`, its Shift-JIS texts converted to `codec`. Throws
// IoError or ConversionError; the game being built then goes with the exception, and the games
// appended before it stay.
void ReadGames(const std::filesystem::path& file, GameList& games, const TextCodec& codec) {
    LineReader lines(file);
    GameBuilder builder;
    std::int32_t count = 0;
    std::string_view line;
    while (lines.Next(line)) {
        if (line != "game (") continue;
        auto game = std::make_unique<TRecordset>();
        // The line after "game (" gives the ZIP name, or nothing at all; at the end of the file
        // the read yields an empty line, as it does below, where that ends the block.
        if (!lines.Next(line)) line = {};
        if (StartsWith(line, "\tname")) game->zipName.assign(From(line, 7));
        while (lines.Next(line) && !line.empty()) builder.TakeLine(*game, line);
        builder.Finish(*game);
        RecodeTexts(*game, ShiftJisCodec(), codec);  // -listinfo texts are ASCII in practice: no copies
        game->listOrder = count++;
        games.Append(std::move(game));
    }
}

}  // namespace

bool ReadListInfo(const std::filesystem::path& file, GameList& games, LoadProgress& progress,
                  const TextCodec& codec) {
    progress.SetStatusText(0, "listinfo.txtを解析中...");
    progress.ProcessPendingMessages();
    {
        LoadWaitCursor waitCursor(progress);
        try {
            // Every MAME since 0.84 prints its catalogue only with -listxml.
            if (IsListXml(file)) {
                ReadListXml(file, games, codec);
            } else {
                ReadGames(file, games, codec);
            }
        } catch (const IoError&) {
            return false;
        } catch (const ConversionError&) {
            return false;
        } catch (const XmlFormatError&) {
            return false;
        }
    }
    progress.SetStatusText(0, "");
    progress.SetStatusText(1, "");
    progress.SetStatusText(2, "");
    return true;
}

}  // namespace kanaroll
