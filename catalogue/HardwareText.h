#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The display texts that the listinfo.txt reader condenses from a game's chip and video lines. Every
// position is taken from fixed offsets around keywords, the way MAME prints these lines, and the
// clamped substrings of ByteText.h keep malformed lines from reading outside the line.
namespace kanaroll::hardware {

// Appends the description of a chip line with a clock to `out`: the name between "name " and
// " clock", then " @ " and the clock in MHz (six decimals) from 1,000,000 Hz up, else in KHz (three
// decimals). Throws ConversionError when the clock is no integer.
void AppendClockedChip(std::string& out, std::string_view line);

// Appends " @ " and a chip's clock: in MHz with six decimals from 1,000,000 Hz up, else in KHz with
// three decimals (printf's " @ %5.6fMHz" and " @ %3.3fKHz").
void AppendClock(std::string& out, std::int64_t hertz);

// Appends the description of a sound chip line to `out`: as AppendClockedChip when the line holds
// "clock", else the name alone, between "name " and " )".
void AppendSoundChip(std::string& out, std::string_view line);

// Applies a video line to `videoText`: the size from " x " and " y " replaces the text, then the rate
// after "freq " is appended when there is a text to append it to.
void ApplyVideoLine(std::string& videoText, std::string_view line);

// An ordered list of descriptions that keeps its strings' storage from one game to the next.
class DescriptionList {
public:
    // A new, empty last item, to be filled by the caller.
    std::string& Add();
    std::size_t Size() const { return m_count; }
    std::string_view operator[](std::size_t index) const { return m_items[index]; }

    // The items joined by ", ", identical items merged into "N x item" where the first of them
    // stood. Empties the list.
    std::string TakeGrouped();

private:
    std::vector<std::string> m_items;
    std::size_t m_count = 0;
};

}  // namespace kanaroll::hardware
