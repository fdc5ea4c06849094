#pragma once

#include <windows.h>

namespace kanaroll {

// Limits what a person can type, paste or enter through the IME into an edit control: at most
// `maxBytes` bytes in the code page `codePage` (a double-byte character counts two), no character
// that the code page cannot hold, and no TAB, CR or LF, which would break the tab-separated files.
// Texts the program sets are not limited.
void LimitEditBytes(HWND edit, unsigned codePage, int maxBytes);

}  // namespace kanaroll
