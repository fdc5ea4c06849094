#pragma once

#include <windows.h>

namespace kanaroll {

// Limits what a person can type, paste or enter through the IME into an edit control: at most
// `maxBytes` bytes in the code page `codePage` (a double-byte character counts two), no character
// that the code page cannot hold, and no TAB, CR or LF, which would break the tab-separated files.
// Texts the program sets are not limited. With code page 65001 the limit counts UTF-8 bytes as a
// UTF-8 catalogue stores them (three for a kana, four for a character typed as a surrogate pair), and
// only a lone surrogate is refused.
void LimitEditBytes(HWND edit, unsigned codePage, int maxBytes);

}  // namespace kanaroll
