#pragma once

#include <cstddef>
#include <cstdint>

namespace kanaroll::cp932 {

constexpr int kTrailFirst = 0x40;
constexpr int kTrailsPerLead = 0x100 - kTrailFirst;

extern const std::uint16_t kSingleByte[128];
extern const std::uint16_t kDoubleByte[60 * kTrailsPerLead];
extern const std::uint16_t kSecondaryCodes[];
extern const std::size_t kSecondaryCodeCount;

// A character of another code point that code page 932 holds as `code`: "£" (U+00A3) for "￡", as
// converters that follow JIS X 0208 decode 0x8192.
struct Alternate {
    std::uint16_t codePoint;
    std::uint16_t code;
};
extern const Alternate kAlternates[];
extern const std::size_t kAlternateCount;

// Row of a lead byte in kDoubleByte, or -1 when the byte leads no double-byte character.
constexpr int LeadRow(unsigned char lead) {
    if (lead >= 0x81 && lead <= 0x9F) return lead - 0x81;
    if (lead >= 0xE0 && lead <= 0xFC) return lead - 0xE0 + 0x1F;
    return -1;
}

}  // namespace kanaroll::cp932
