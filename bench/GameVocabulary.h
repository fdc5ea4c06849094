#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "bench/CatalogueGenerator.h"

// The word lists and hardware the generator draws from: English title words with their Japanese
// rendering and kana reading, makers, regions, DIP switches and a set of arcade boards modelled on
// real ones. All texts are UTF-8.
namespace kanaroll::bench {

struct TitleWord {
    std::string_view english;
    std::string_view japanese;  // katakana or kanji; a few hold bytes such as ソ and 表 whose
                                // Shift-JIS second byte is a backslash
    std::string_view reading;   // hiragana
};

struct RegionWord {
    std::string_view english;   // as inside the parentheses of a description
    std::string_view japanese;  // as inside the parentheses of a Japanese title
};

struct ProfileChip {
    ChipEntry::Kind kind;
    std::string_view name;
    std::uint32_t clock;  // 0: none
};

// A board, in the order of a row of the profile tables: its chips come last, as the longest part.
struct HardwareProfile {
    std::string_view label;
    bool vector = false;
    bool vertical = false;
    int width = 0;
    int height = 0;
    int colors = 0;
    std::string_view refresh;
    int soundChannels = 1;
    int maxButtons = 2;
    bool playsSamples = false;               // a board that may use samples (and then lists the Samples chip)
    std::vector<std::string_view> controls;  // an empty word: the input line has no control
    std::vector<ProfileChip> chips;
};

std::span<const TitleWord> TitleWords();
std::span<const TitleWord> RareTitleWords();  // half-width katakana and other rarities
std::span<const TitleWord> Numerals();        // " II", " 2", " Turbo"...: english part is the suffix
std::span<const RegionWord> MasterRegions();
std::span<const RegionWord> CloneRegions();
std::span<const std::string_view> Manufacturers();
std::span<const std::string_view> NeoGeoManufacturers();
std::span<const std::string_view> Licensees();  // "Midway" in "Namco (Midway license)"
std::span<const std::string_view> NameSyllables();
std::span<const std::string_view> CloneSuffixes();
std::span<const std::string_view> SampleNames();
std::span<const DipSwitchEntry> DipSwitches();

const std::vector<HardwareProfile>& RegularProfiles();
const HardwareProfile& NeoGeoProfile();
const std::vector<HardwareProfile>& VectorProfiles();
const std::vector<HardwareProfile>& SampleProfiles();

}  // namespace kanaroll::bench
