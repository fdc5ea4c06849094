#include "proposals/TitleTokens.h"

#include "catalogue/TextCodec.h"
#include "proposals/Utf8Chars.h"

namespace kanaroll::proposals {
namespace {

TitleToken::Kind KindFor(CharKind kind) {
    switch (kind) {
        case CharKind::Kana:
            return TitleToken::Kind::Kana;
        case CharKind::Kanji:
            return TitleToken::Kind::Kanji;
        case CharKind::Latin:
            return TitleToken::Kind::Latin;
        case CharKind::Digit:
            return TitleToken::Kind::Digits;
        default:
            return TitleToken::Kind::Roman;
    }
}

}  // namespace

std::vector<TitleToken> TokenizeTitle(std::string_view title, const KanaStyle& style) {
    // Half-width katakana (and the full-width forms) all start with the byte EF: most titles have
    // none, and need no widened copy.
    std::string widened;
    if (title.find('\xEF') != std::string_view::npos) widened = WidenKatakana(title);
    const std::string_view wide = widened.empty() ? title : std::string_view(widened);
    std::vector<TitleToken> tokens;
    tokens.reserve(8);  // most titles have fewer pieces: one allocation
    bool open = false;  // whether the last token may grow
    std::size_t offset = 0;
    while (offset < wide.size()) {
        const char32_t c = DecodeUtf8(wide, offset);
        const CharKind kind = KindOf(c);
        // A decimal point inside a number keeps the number whole: "13.4".
        if (c == '.' && open && tokens.back().kind == TitleToken::Kind::Digits && offset < wide.size() &&
            KindOf(static_cast<unsigned char>(wide[offset])) == CharKind::Digit) {
            tokens.back().text += '.';
            continue;
        }
        // "&" is read, as the list reads it ("キング&バルーン" as "きんぐあんどばるーん"): a word
        // of its own.
        if (NarrowAscii(c) == '&') {
            tokens.push_back({TitleToken::Kind::Latin, "&", {}});
            open = false;
            continue;
        }
        if (style.waveAsLongVowel && IsWaveDash(c) && open && tokens.back().kind == TitleToken::Kind::Kana) {
            AppendUtf8(tokens.back().text, c);
            tokens.back().kana += "ー";
            continue;
        }
        if (kind == CharKind::Separator || kind == CharKind::Other) {
            // Something a reading cannot be made of spoils the whole title; punctuation just ends
            // a piece.
            if (kind == CharKind::Other) return {};
            open = false;
            continue;
        }
        const TitleToken::Kind tokenKind = KindFor(kind);
        if (!open || tokens.back().kind != tokenKind || tokenKind == TitleToken::Kind::Roman)
            tokens.push_back({tokenKind, {}, {}});
        open = true;
        TitleToken& token = tokens.back();
        if (tokenKind == TitleToken::Kind::Kana) {
            std::size_t peek = offset;
            const char32_t next = peek < wide.size() ? DecodeUtf8(wide, peek) : 0;
            bool tookNext = false;
            AppendUtf8(token.text, c);
            AppendHiragana(c, next, style, token.kana, tookNext);
            if (tookNext) {
                AppendUtf8(token.text, next);
                offset = peek;
            }
        } else if (tokenKind == TitleToken::Kind::Latin || tokenKind == TitleToken::Kind::Digits) {
            token.text += static_cast<char>(NarrowAscii(c));
        } else {
            AppendUtf8(token.text, c);
        }
    }
    return tokens;
}

}  // namespace kanaroll::proposals
