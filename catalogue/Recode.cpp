#include "catalogue/Recode.h"

#include <cstdint>
#include <cstring>

namespace kanaroll {

bool IsAscii(std::string_view text) {
    // Eight bytes at a time: a name list holds mostly ASCII ZIP names and manufacturers.
    const char* data = text.data();
    std::size_t size = text.size();
    std::uint64_t high = 0;
    for (; size >= 8; data += 8, size -= 8) {
        std::uint64_t word;
        std::memcpy(&word, data, 8);
        high |= word;
    }
    for (; size > 0; ++data, --size) high |= static_cast<unsigned char>(*data);
    return (high & 0x8080808080808080ULL) == 0;
}

std::string Recode(std::string_view text, const TextCodec& from, const TextCodec& to) {
    if (&from == &to || IsAscii(text)) return std::string(text);
    // Every codec converts from and to UTF-8, which itself needs no conversion.
    if (&from == &Utf8Codec()) return to.FromUtf8(text);
    if (&to == &Utf8Codec()) return from.ToUtf8(text);
    return to.FromUtf8(from.ToUtf8(text));
}

void RecodeInPlace(std::string& text, const TextCodec& from, const TextCodec& to) {
    if (&from == &to || IsAscii(text)) return;
    text = Recode(text, from, to);
}

void RecodeTexts(TRecordset& game, const TextCodec& from, const TextCodec& to) {
    if (&from == &to) return;
    for (std::string* text :
         {&game.zipName, &game.englishName, &game.japaneseName, &game.reading, &game.manufacturer, &game.year,
          &game.parentName, &game.controlType, &game.cpuText, &game.soundText, &game.videoText}) {
        RecodeInPlace(*text, from, to);
    }
}

ReplaceRuleList RecodeRules(const ReplaceRuleList& rules, const TextCodec& from, const TextCodec& to) {
    ReplaceRuleList recoded = rules;
    for (TReplacePatterns& rule : recoded) {
        RecodeInPlace(rule.searchText, from, to);
        RecodeInPlace(rule.replacementText, from, to);
    }
    return recoded;
}

}  // namespace kanaroll
