#include "proposals/SiblingTitles.h"

#include <vector>

#include "proposals/Utf8Chars.h"

namespace kanaroll::proposals {
namespace {

bool IsAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The words of a description: runs of ASCII letters and digits, and every other character but the
// blank on its own, so that "Ver.E" and "Ver. E" are the same three words.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ') {
            ++at;
            continue;
        }
        std::size_t end = at;
        if (IsAlnum(text[at])) {
            while (end < text.size() && IsAlnum(text[end])) ++end;
        } else {
            DecodeUtf8(text, end);
        }
        words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

// Where `word` stands in `text` as a word of its own (no letter or digit glued to it), when it
// stands there exactly once.
std::optional<std::size_t> OnlyPlace(std::string_view text, std::string_view word, bool whole) {
    std::optional<std::size_t> place;
    for (auto at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if (whole && ((at > 0 && IsAlnum(text[at - 1])) || (end < text.size() && IsAlnum(text[end]))))
            continue;
        if (place) return std::nullopt;
        place = at;
    }
    return place;
}

}  // namespace

std::optional<std::string> SiblingTitles::FromSibling(std::string_view description,
                                                      std::string_view siblingDescription,
                                                      std::string_view siblingTitle) const {
    const auto mine = Words(description);
    const auto theirs = Words(siblingDescription);
    if (mine.size() != theirs.size()) return std::nullopt;
    std::string title(siblingTitle);
    bool replaced = false;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        if (mine[i] == theirs[i]) continue;
        if (replaced) return std::nullopt;
        replaced = true;
        const std::string* myRewrite = m_rewrites.PartOrWord(mine[i]);
        const std::string* theirRewrite = m_rewrites.PartOrWord(theirs[i]);
        // The sibling's word as the list rewrites it ("US" as "US版"): this word as the list
        // rewrites it in its place.
        if (theirRewrite && *theirRewrite != theirs[i] && myRewrite)
            if (const auto at = OnlyPlace(title, *theirRewrite, false)) {
                title.replace(*at, theirRewrite->size(), *myRewrite);
                continue;
            }
        // The sibling's word kept as MAME writes it: this one kept too, when the list rewrites the
        // sibling's word elsewhere (the family keeps such words) or does not rewrite this one.
        const bool keptKind = !myRewrite || *myRewrite == mine[i] || theirRewrite;
        const auto at = OnlyPlace(title, theirs[i], true);
        if (!keptKind || !at) return std::nullopt;
        title.replace(*at, theirs[i].size(), mine[i]);
    }
    return title;
}

}  // namespace kanaroll::proposals
