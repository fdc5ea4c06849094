#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "catalogue/TextCodec.h"

namespace kanaroll::proposals {

// The longest title or reading a name-list field takes, in stored bytes.
inline constexpr std::size_t kFieldByteLimit = 255;

// A proposal worked out in UTF-8, as the catalogue stores it: in `codec`, with every TAB, CR, LF
// and Ctrl-Z (which would break the list's lines) as a blank, and nothing when it is empty, does
// not fit the field or holds a character the codec cannot hold.
std::optional<std::string> ToCatalogueText(std::string_view utf8, const TextCodec& codec);

// A catalogue text in UTF-8, the engine's own working codec.
std::string ToWorkingText(std::string_view text, const TextCodec& codec);

}  // namespace kanaroll::proposals
