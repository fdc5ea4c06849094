#include "proposals/NumberSpelling.h"

#include <algorithm>
#include <array>

namespace kanaroll::proposals {
namespace {

bool IsDecimal(std::string_view digits) {
    return digits.find('.') != std::string_view::npos;
}

// Whole numbers of one, two, three, and four or more digits.
std::size_t LengthClass(std::string_view digits) {
    return std::min<std::size_t>(digits.size(), 4) - 1;
}

}  // namespace

std::optional<int> RomanValue(std::string_view latin) {
    if (latin.size() < 2 || latin.size() > 8) return std::nullopt;
    int value = 0;
    std::size_t i = 0;
    for (; i < latin.size() && latin[i] == 'X'; ++i) value += 10;
    const std::string_view rest = latin.substr(i);
    static constexpr std::array<std::string_view, 10> kUnits = {"",  "I",  "II",  "III",  "IV",
                                                                "V", "VI", "VII", "VIII", "IX"};
    for (std::size_t unit = 0; unit < kUnits.size(); ++unit)
        if (rest == kUnits[unit]) {
            value += static_cast<int>(unit);
            if (value == 0 || value > 39) return std::nullopt;
            return value;
        }
    return std::nullopt;
}

std::optional<int> RomanCharacterValue(std::string_view utf8) {
    // Ⅰ is U+2160 (E2 85 A0) to Ⅻ U+216B, ⅰ U+2170 to ⅻ U+217B.
    if (utf8.size() != 3 || static_cast<unsigned char>(utf8[0]) != 0xE2 ||
        static_cast<unsigned char>(utf8[1]) != 0x85)
        return std::nullopt;
    const int low = static_cast<unsigned char>(utf8[2]);
    if (low >= 0xA0 && low <= 0xAB) return low - 0xA0 + 1;
    if (low >= 0xB0 && low <= 0xBB) return low - 0xB0 + 1;
    return std::nullopt;
}

void NumberSpelling::Learn(std::string_view digits, std::string_view spelled) {
    const bool decimal = IsDecimal(digits);
    const bool plain = spelled == digits;
    const bool underscore =
        spelled.size() == digits.size() + 1 && spelled[0] == '_' && spelled.substr(1) == digits;
    for (Counts* counts : {&m_counts[decimal], &m_byLength[decimal ? 0 : LengthClass(digits)]}) {
        counts->plain += plain;
        counts->underscore += underscore;
    }
}

std::optional<std::string> NumberSpelling::Spell(std::string_view digits) const {
    const bool decimal = IsDecimal(digits);
    const Counts& counts = m_counts[decimal];
    if (counts.plain == 0 && counts.underscore == 0) {
        // A decimal number where the list showed none: as it stands, the way version numbers are
        // kept; a list that showed no number at all gives nothing.
        const Counts& whole = m_counts[0];
        if (!decimal || (whole.plain == 0 && whole.underscore == 0)) return std::nullopt;
        return std::string(digits);
    }
    // Numbers as long as this one where the list showed some, else all of them.
    const Counts& alike = decimal ? counts : m_byLength[LengthClass(digits)];
    const Counts& chosen = alike.plain + alike.underscore > 0 ? alike : counts;
    return chosen.underscore > chosen.plain ? "_" + std::string(digits) : std::string(digits);
}

}  // namespace kanaroll::proposals
