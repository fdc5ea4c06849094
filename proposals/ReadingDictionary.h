#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "proposals/KanaConversion.h"
#include "proposals/NumberSpelling.h"
#include "proposals/StringMap.h"
#include "proposals/TitleTokens.h"
#include "proposals/Votes.h"

namespace kanaroll::proposals {

// The readings a list gives the words of its titles, English and kanji alike, learned by laying
// each title beside its reading: the kana of the title are anchors that must reappear in the
// reading, and what lies between two anchors is the reading of the one word between them
// ("麻雀" in "麻雀ベガス" / "まーじゃんべがす"). Words read once help to place the others in a
// second pass. Numbers teach how the list spells numbers.
class ReadingDictionary {
public:
    explicit ReadingDictionary(const KanaStyle& style) : m_style(style) {}

    // One title's main part and its reading, in UTF-8.
    void Learn(std::string_view mainPart, std::string_view reading);
    // A second look at the titles that had two words side by side, now that more words are known.
    void LearnAgain();

    // Tells whether the list numbers a series under a reading ("めたるすらっぐ_3", "_4"), so that a
    // number after it is the series' code.
    using SeriesTest = std::function<bool(std::string_view reading)>;

    // The reading of a title's main part made of the readings of its pieces; nothing when a piece
    // has no reading the list has shown consistently.
    std::optional<std::string> Compose(std::string_view mainPart, const SeriesTest& isSeries = {}) const;

    // The reading of one word (a Kanji or Latin piece, or digits), when known.
    const std::string* Word(const TitleToken& token) const;

private:
    struct Pending {
        std::vector<TitleToken> tokens;
        std::string reading;
    };

    bool Align(const std::vector<TitleToken>& tokens, std::string_view reading, bool secondPass);
    void SplitKanjiWords();
    std::optional<std::string> ReadToken(const TitleToken& token) const;
    std::optional<std::string> ReadKanji(std::string_view run) const;
    // The reading of a word of `kind` as the dictionary keeps it (Latin in lower case), when known.
    const std::string* Known(TitleToken::Kind kind, std::string_view word) const;

    const KanaStyle& m_style;
    // The words of each kind of piece, by TitleToken::Kind (kana pieces have none).
    std::array<StringMap<Votes>, 5> m_words;
    NumberSpelling m_numbers;
    std::vector<Pending> m_pending;
};

}  // namespace kanaroll::proposals
