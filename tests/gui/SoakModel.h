#pragma once

// The soak test's model of the program: its catalogue, the random choices of a person and what
// they type, and what the catalogue's games should hold (SoakTest.h drives the windows with it).
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/ListInfoText.h"

namespace kanaroll::testing::soak {

inline constexpr std::uint64_t kSeed = 0x4B414E41;
inline constexpr int kActions = 10'000;
inline constexpr int kSoakGames = 2'000;
inline constexpr int kFullListCheckEvery = 500;
inline constexpr int kMaxRules = 12;  // the replace dialog shows them all without scrolling
inline constexpr unsigned long kTypeAheadPauseMs = 1'100;
inline constexpr int kRecentActions = 30;
// 10,000 actions take about a minute on a quiet machine of two cores. One busy with other work runs
// them several times slower (each action waits on the Wine server many times): the run stops at
// this bound then, fewer actions done.
inline constexpr double kTimeBoundSeconds = 150;

// splitmix64: the same numbers with every compiler, so that a seed replays anywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int Below(int bound) {
        return bound <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(bound));
    }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(static_cast<int>(N))];
    }

private:
    std::uint64_t m_state;
};

// The catalogue of the soak: masters with families of up to seven clones, a few clones whose
// master is missing, and a name list (UTF-8 here, Shift-JIS on disk) for about half the games,
// some with an empty reading and a few with an empty title.
struct SoakFiles {
    std::vector<ListInfoGame> games;
    std::string nameList;
};
SoakFiles MakeSoakFiles();

// What the typing actions type: letters, digits, parentheses, kana, kanji, full-width signs, and
// characters Shift-JIS cannot hold (which the fields refuse).
std::wstring RandomTitleText(Random& random);
std::wstring RandomReadingText(Random& random);

// Rule texts: search texts are ASCII and replacements hold no ASCII, so that however often F3 is
// pressed, a title never grows without end.
inline constexpr const wchar_t* kRuleSearches[] = {L"Japan",   L"US",    L"World", L"Asia", L"Europe",
                                                   L"bootleg", L"set 2", L"Pac",   L"Man",  L"Star",
                                                   L"a",       L"e",     L" ",     L"[BET]"};
inline constexpr const wchar_t* kRuleReplacements[] = {
    L"日本版", L"米国版", L"海外版", L"アジア版", L"欧州版", L"海賊版", L"セット２",
    L"パック", L"マン",   L"",       L"ア",       L"エ",     L"・"};

// A game's names as the actions should have left them.
struct ModelGame {
    std::string zip;
    std::string englishName;
    std::string manufacturer;
    std::string japaneseName;
    std::string reading;
    bool translated = false;
};

}  // namespace kanaroll::testing::soak
