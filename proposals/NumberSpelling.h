#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kanaroll::proposals {

// The value of a Roman numeral written in Latin capitals, "II" to "XXXIX"; nothing for anything
// else, and for the single letters I, V and X, which are letters far more often than numbers.
std::optional<int> RomanValue(std::string_view latin);
// The value of one of the characters Ⅰ to Ⅻ (or ⅰ to ⅻ), given as UTF-8.
std::optional<int> RomanCharacterValue(std::string_view utf8);

// How a list spells the numbers of its titles in readings: as they stand ("げーみねーたー20"), or
// as a sort code after an underscore ("ふぁいなるふぁいと_2"), each length of number its own way.
// Learned from the numbers whose reading the list shows, whole numbers apart from those with a
// decimal point ("13.4"), which lists tend to keep as they stand.
class NumberSpelling {
public:
    // A number of a title (its value in decimal digits) and what the reading put in its place.
    void Learn(std::string_view digits, std::string_view spelled);
    // The number as the list spells numbers; nothing before any number was seen.
    std::optional<std::string> Spell(std::string_view digits) const;

private:
    struct Counts {
        int plain = 0;
        int underscore = 0;
    };
    Counts m_counts[2];  // whole numbers, numbers with a decimal point
    // Whole numbers by their length, one to four digits and more: a list may code a sequel's "2"
    // as "_2" and keep "74" and "2001" as they stand.
    Counts m_byLength[4];
};

}  // namespace kanaroll::proposals
