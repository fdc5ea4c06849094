#pragma once

#include <string>
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

// Appends the text of one field of a TAB-separated line. A field cannot hold what separates fields
// and lines or ends the file (TAB, CR, LF, Ctrl-Z): each such byte becomes a blank, so that a text
// that came with one (a description in listinfo.txt, a character reference in -listxml output)
// cannot shift the columns of the file. No Shift-JIS or UTF-8 character holds these bytes inside it.
inline void AppendField(std::string& line, std::string_view text) {
    const std::size_t start = line.size();
    line.append(text);
    for (std::size_t at = start; at < line.size(); ++at) {
        const auto c = static_cast<unsigned char>(line[at]);
        if (c <= 26 && (c == '\t' || c == '\r' || c == '\n' || c == 26)) line[at] = ' ';
    }
}

}  // namespace kanaroll
