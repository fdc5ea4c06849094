#include "proposals/KanaConversion.h"

#include <array>

#include "catalogue/TextCodec.h"
#include "proposals/Utf8Chars.h"

namespace kanaroll::proposals {
namespace {

// Full-width katakana of the half-width forms U+FF66 to U+FF9D.
constexpr std::array<char16_t, 56> kHalfWidthKatakana = {
    u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ', u'ョ', u'ッ', u'ー', u'ア', u'イ', u'ウ',
    u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ', u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ', u'チ',
    u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ', u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ',
    u'ミ', u'ム', u'メ', u'モ', u'ヤ', u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン',
};

bool TakesVoicing(char32_t k) {
    return (k >= u'カ' && k <= u'ト' && (k - u'カ') % 2 == 0 && k != u'ッ') || k == u'ツ' || k == u'テ' ||
           k == u'ト' || (k >= u'ハ' && k <= u'ホ' && (k - u'ハ') % 3 == 0) || k == u'ウ';
}

// One katakana, with a following half-width voicing mark composed into it.
char32_t Voiced(char32_t k, char32_t mark) {
    if (mark == 0xFF9E && TakesVoicing(k)) return k == u'ウ' ? u'ヴ' : k + 1;
    if (mark == 0xFF9F && k >= u'ハ' && k <= u'ホ' && (k - u'ハ') % 3 == 0) return k + 2;
    return 0;
}

}  // namespace

std::string WidenKatakana(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t offset = 0;
    while (offset < text.size()) {
        char32_t c = DecodeUtf8(text, offset);
        if (c >= 0xFF66 && c <= 0xFF9D) {
            c = kHalfWidthKatakana[c - 0xFF66];
            std::size_t peek = offset;
            if (peek < text.size()) {
                const char32_t mark = DecodeUtf8(text, peek);
                if (const char32_t voiced = Voiced(c, mark)) c = voiced, offset = peek;
            }
        } else if (c == 0xFF9E) {
            c = u'゛';
        } else if (c == 0xFF9F) {
            c = u'゜';
        }
        AppendUtf8(out, c);
    }
    return out;
}

bool AppendHiragana(char32_t c, char32_t next, const KanaStyle& style, std::string& out, bool& tookNext) {
    tookNext = false;
    if ((c >= 0x3041 && c <= 0x3096) || c == u'ー' || c == u'ゝ' || c == u'ゞ') {
        AppendUtf8(out, c);
        return true;
    }
    if (c == u'ヴ' && !style.keepVu) {
        switch (next) {
            case u'ァ':
                out += "ば";
                tookNext = true;
                return true;
            case u'ィ':
                out += "び";
                tookNext = true;
                return true;
            case u'ェ':
                out += "べ";
                tookNext = true;
                return true;
            case u'ォ':
                out += "ぼ";
                tookNext = true;
                return true;
            default:
                out += "ぶ";
                return true;
        }
    }
    if (c == u'ヵ') c = u'カ';
    if (c == u'ヶ') c = u'カ';
    if (c >= 0x30A1 && c <= 0x30F4) {
        AppendUtf8(out, c - 0x60);
        return true;
    }
    if (c == u'ヽ' || c == u'ヾ') {
        AppendUtf8(out, c - 0x60);
        return true;
    }
    return false;
}

std::optional<std::string> KanaToHiragana(std::string_view text, const KanaStyle& style) {
    const std::string wide = WidenKatakana(text);
    std::string out;
    std::size_t offset = 0;
    bool anyKana = false;
    while (offset < wide.size()) {
        const char32_t c = DecodeUtf8(wide, offset);
        std::size_t peek = offset;
        const char32_t next = peek < wide.size() ? DecodeUtf8(wide, peek) : 0;
        bool tookNext = false;
        if (style.waveAsLongVowel && IsWaveDash(c) && anyKana) {
            out += "ー";
            continue;
        }
        if (AppendHiragana(c, next, style, out, tookNext)) {
            anyKana = true;
            if (tookNext) offset = peek;
            continue;
        }
        if (KindOf(c) != CharKind::Separator || c == '\'' || c == '&') return std::nullopt;
    }
    if (!anyKana) return std::nullopt;
    return out;
}

}  // namespace kanaroll::proposals
