#pragma once

#include <string_view>

namespace kanaroll {

// Takes the field that a TAB ends off the front of `line`: the text before the first TAB, which the
// line then loses together with the TAB. Without a TAB the field is empty and the line stays as it
// is, so every later field is empty too.
inline std::string_view TakeTabEndedField(std::string_view& line) {
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos) return {};
    const auto field = line.substr(0, tab);
    line.remove_prefix(tab + 1);
    return field;
}

}  // namespace kanaroll
