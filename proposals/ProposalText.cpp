#include "proposals/ProposalText.h"

#include "catalogue/Recode.h"

namespace kanaroll::proposals {
namespace {

// The text decoded and encoded again: equal to the text exactly when it is well-formed UTF-8.
std::string Reencoded(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t offset = 0;
    while (offset < utf8.size()) AppendUtf8(out, DecodeUtf8(utf8, offset));
    return out;
}

}  // namespace

std::optional<std::string> ToCatalogueText(std::string_view utf8, const TextCodec& codec) {
    std::string clean(utf8);
    for (char& c : clean)
        if (c == '\t' || c == '\r' || c == '\n' || c == '\x1A') c = ' ';
    if (clean.empty() || Reencoded(clean) != clean) return std::nullopt;
    std::string stored = &codec == &Utf8Codec() ? clean : Recode(clean, Utf8Codec(), codec);
    // A character the codec lacks came back as "?": better no proposal than a wrong character.
    if (Recode(stored, codec, Utf8Codec()) != clean) return std::nullopt;
    if (stored.size() > kFieldByteLimit) return std::nullopt;
    return stored;
}

std::string ToWorkingText(std::string_view text, const TextCodec& codec) {
    return Recode(text, codec, Utf8Codec());
}

}  // namespace kanaroll::proposals
