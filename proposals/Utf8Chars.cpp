#include "proposals/Utf8Chars.h"

namespace kanaroll::proposals {

CharKind KindOf(char32_t c) {
    c = NarrowAscii(c);
    if (c >= '0' && c <= '9') return CharKind::Digit;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return CharKind::Latin;
    if (c < 0x80) return CharKind::Separator;
    if ((c >= 0x3041 && c <= 0x3096) || (c >= 0x309B && c <= 0x309E) || (c >= 0x30A1 && c <= 0x30FA) ||
        c == 0x30FC || c == 0x30FD || c == 0x30FE || (c >= 0xFF66 && c <= 0xFF9F))
        return CharKind::Kana;
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) ||
        c == 0x3005 || c == 0x3006)
        return CharKind::Kanji;
    if ((c >= 0x2160 && c <= 0x216B) || (c >= 0x2170 && c <= 0x217B)) return CharKind::Roman;
    // The middle dots, brackets, quotes and marks of Japanese punctuation, and the full-width forms
    // that NarrowAscii did not turn into ASCII.
    if ((c >= 0x3000 && c <= 0x303F) || c == 0x30FB || c == 0xFF65 || c == 0xFF61 || c == 0xFF62 ||
        c == 0xFF63 || c == 0xFF64 || (c >= 0x2010 && c <= 0x2027) || c == 0x2606 || c == 0x2605 ||
        c == 0x266A || c == 0x00B7 || c == 0x2192)
        return CharKind::Separator;
    return CharKind::Other;
}

char32_t NarrowAscii(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) return c - 0xFF01 + 0x21;
    if (c == 0x3000) return ' ';
    return c;
}

}  // namespace kanaroll::proposals
