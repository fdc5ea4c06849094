#pragma once

#include <string>
#include <string_view>

// Upper-casing as a Japanese Windows upper-cases code page 932 text (CharUpperBuffA), by the
// program's own table instead of the machine's code page: ASCII a-z, and the letters of code page
// 932 that have an upper case there (full-width Latin, Greek, Cyrillic, the small Roman numerals).
// The length of the text never changes. The codecs call these; everyone else asks TextCodec.
namespace kanaroll {

// Shift-JIS: a byte that is the second byte of a two-byte character is never folded by itself,
// even when it looks like a-z; a lead byte at the very end stays as it is.
void UpperCaseShiftJisInPlace(std::string& text);

// UTF-8: the same letters in their UTF-8 forms, which keep their length too. Bytes that form no
// character stay as they are.
void UpperCaseUtf8InPlace(std::string& text);

// Whether `text`, upper-cased as above, starts with `upperPrefix` (upper-cased already), without
// making the upper-cased copy.
bool ShiftJisUpperCaseStartsWith(std::string_view text, std::string_view upperPrefix);
bool Utf8UpperCaseStartsWith(std::string_view text, std::string_view upperPrefix);

}  // namespace kanaroll
