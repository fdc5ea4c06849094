#pragma once

#include <cstddef>
#include <string_view>

// Helpers for the 1-based byte positions in which the file formats are described. A substring by
// start and length is clamped: a start before the first byte counts as the first, a start past the
// end or a length of 0 or less gives the empty text, and a length that runs past the end stops there.
namespace kanaroll::bytetext {

// 1-based position of the first occurrence of `what` in `text`; 0 when it does not occur.
inline long Pos(std::string_view what, std::string_view text) {
    const auto found = text.find(what);
    return found == std::string_view::npos ? 0 : static_cast<long>(found) + 1;
}

// `count` bytes from the 1-based position `start`, clamped as described above.
inline std::string_view Copy(std::string_view text, long start, long count) {
    if (start < 1) start = 1;
    const auto size = static_cast<long>(text.size());
    if (start > size || count <= 0) return {};
    if (count > size - start + 1) count = size - start + 1;
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

// The rest of `text` from the 1-based position `start`.
inline std::string_view From(std::string_view text, long start) {
    return Copy(text, start, static_cast<long>(text.size()));
}

// The text before the first blank; empty when there is no blank.
inline std::string_view UpToFirstBlank(std::string_view text) {
    const auto blank = text.find(' ');
    return blank == std::string_view::npos ? std::string_view{} : text.substr(0, blank);
}

// The rest of `text` behind the first occurrence of `what`; empty when `what` does not occur.
inline std::string_view After(std::string_view text, std::string_view what) {
    const auto found = text.find(what);
    return found == std::string_view::npos ? std::string_view{} : text.substr(found + what.size());
}

inline bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.starts_with(prefix);
}
inline bool Contains(std::string_view text, std::string_view what) {
    return text.find(what) != std::string_view::npos;
}

}  // namespace kanaroll::bytetext
