#include "proposals/ReadingDictionary.h"

#include <algorithm>

#include "catalogue/TextCodec.h"
#include "proposals/Utf8Chars.h"

namespace kanaroll::proposals {
namespace {

using Kind = TitleToken::Kind;

// How a word is kept: a Latin word in lower case, as it is known whatever its letter case.
std::string KeyText(const TitleToken& token) {
    return token.kind == Kind::Latin ? ToLowerAscii(token.text) : token.text;
}

bool IsCodeText(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 0x7F) return false;
    return true;
}

// The value in digits of a number piece: digits as they stand, Roman numerals turned to digits.
std::optional<std::string> NumberOf(const TitleToken& token) {
    if (token.kind == Kind::Digits) return token.text;
    std::optional<int> value;
    if (token.kind == Kind::Roman) value = RomanCharacterValue(token.text);
    if (token.kind == Kind::Latin) value = RomanValue(token.text);
    if (!value) return std::nullopt;
    return std::to_string(*value);
}

// Whether `spelled` reads a number of value `digits` by itself: in kana, or as the digits with or
// without an underscore in front.
bool SpellsNumber(std::string_view digits, std::string_view spelled) {
    if (spelled == digits || (spelled.starts_with('_') && spelled.substr(1) == digits)) return true;
    for (const char c : spelled)
        if (IsCodeText(std::string_view(&c, 1))) return false;
    return true;
}

// The length of the UTF-8 character that starts with `lead`.
std::size_t CharLength(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Taking up to this many readings of a title into account; a title with more is too ambiguous to
// teach anything.
constexpr int kMaxSolutions = 2;

}  // namespace

const std::string* ReadingDictionary::Known(Kind kind, std::string_view word) const {
    if (kind == Kind::Kana) return nullptr;
    const Votes* votes = Find(m_words[static_cast<std::size_t>(kind)], word);
    return votes ? votes->Best(1, 0.5) : nullptr;
}

const std::string* ReadingDictionary::Word(const TitleToken& token) const {
    if (token.kind == Kind::Latin) return Known(token.kind, ToLowerAscii(token.text));
    return Known(token.kind, token.text);
}

void ReadingDictionary::Learn(std::string_view mainPart, std::string_view reading) {
    if (mainPart.find('[') != std::string_view::npos) return;
    std::vector<TitleToken> tokens = TokenizeTitle(mainPart, m_style);
    if (tokens.empty() || reading.empty()) return;
    bool anyWord = false;
    for (const TitleToken& token : tokens) anyWord |= token.kind != Kind::Kana;
    if (!anyWord) return;
    if (!Align(tokens, reading, false)) m_pending.push_back({std::move(tokens), std::string(reading)});
}

void ReadingDictionary::LearnAgain() {
    std::vector<Pending> pending = std::move(m_pending);
    m_pending.clear();
    for (const Pending& item : pending) Align(item.tokens, item.reading, true);
    SplitKanjiWords();
}

// A run of kanji read as a whole ("麻雀天開眼" as "まーじゃんてんかいげん") that starts or ends
// with a word known by itself ("麻雀") also reads what is left of it ("天開眼" as "てんかいげん"),
// for other titles that hold it without the known word.
void ReadingDictionary::SplitKanjiWords() {
    auto& kanji = m_words[static_cast<std::size_t>(Kind::Kanji)];
    std::vector<std::pair<std::string, std::string>> parts;
    for (const auto& [word, votes] : kanji) {
        const std::string* reading = votes.Best(1, 0.5);
        if (!reading) continue;
        for (std::size_t cut = CharLength(static_cast<unsigned char>(word[0])); cut < word.size();
             cut += CharLength(static_cast<unsigned char>(word[cut]))) {
            const std::string_view head = std::string_view(word).substr(0, cut);
            const std::string_view tail = std::string_view(word).substr(cut);
            const std::string* headReading = Known(Kind::Kanji, head);
            if (headReading && reading->size() > headReading->size() && reading->starts_with(*headReading) &&
                !Find(kanji, tail))
                parts.emplace_back(tail, reading->substr(headReading->size()));
            const std::string* tailReading = Known(Kind::Kanji, tail);
            if (tailReading && reading->size() > tailReading->size() && reading->ends_with(*tailReading) &&
                !Find(kanji, head))
                parts.emplace_back(head, reading->substr(0, reading->size() - tailReading->size()));
        }
    }
    // A part whose reading would hold a code ("雀王" as "じゃん_2おう" less "じゃん") is no word.
    for (const auto& [part, reading] : parts)
        if (!std::any_of(reading.begin(), reading.end(), [](char c) { return IsCodeText({&c, 1}); }))
            Entry(kanji, part).Add(reading);
}

// Lays the pieces over the reading. A kana piece must stand in the reading as its hiragana; a
// word takes what lies before the next kana piece (or before the code at the end). Two words side
// by side can be told apart only when one of them is known already. Returns false when the title
// should be tried again once more words are known.
bool ReadingDictionary::Align(const std::vector<TitleToken>& tokens, std::string_view reading,
                              bool secondPass) {
    struct Step {
        std::size_t token;
        std::size_t position;
        std::vector<std::pair<std::size_t, std::string_view>> taken;  // word piece, its reading
    };
    std::vector<std::vector<std::pair<std::size_t, std::string_view>>> solutions;
    bool blocked = false;
    std::vector<Step> stack{{0, 0, {}}};
    int budget = 256;
    while (!stack.empty() && budget-- > 0 && static_cast<int>(solutions.size()) <= kMaxSolutions) {
        Step step = std::move(stack.back());
        stack.pop_back();
        const std::string_view rest = reading.substr(step.position);
        if (step.token == tokens.size()) {
            if (rest.empty() || IsCodeText(rest)) solutions.push_back(std::move(step.taken));
            continue;
        }
        const TitleToken& token = tokens[step.token];
        if (token.kind == Kind::Kana) {
            if (rest.starts_with(token.kana))
                stack.push_back({step.token + 1, step.position + token.kana.size(), std::move(step.taken)});
            continue;
        }
        const bool last = step.token + 1 == tokens.size();
        const TitleToken* next = last ? nullptr : &tokens[step.token + 1];
        if (next && next->kind != Kind::Kana) {
            // Two words side by side: only a word already known can be placed.
            const std::string* known = Word(token);
            if (!known) {
                blocked = true;
                continue;
            }
            if (rest.starts_with(*known))
                stack.push_back({step.token + 1, step.position + known->size(), std::move(step.taken)});
            continue;
        }
        // Every end the word's reading could have: before each place where the next kana piece
        // stands, or at the end (with or without the code).
        std::vector<std::size_t> ends;
        if (next) {
            for (std::size_t at = rest.find(next->kana, 1); at != std::string_view::npos;
                 at = rest.find(next->kana, at + 1))
                ends.push_back(at);
        } else {
            // A word's reading does not take the code at the end, a number's may be all code.
            std::size_t code = rest.size();
            while (code > 0 && IsCodeText(rest.substr(code - 1, 1))) --code;
            ends.push_back(code > 0 && !NumberOf(token) ? code : rest.size());
        }
        for (const std::size_t end : ends) {
            if (end == 0 || end > rest.size()) continue;
            // A word is read in kana; only a number may turn into a code of its own.
            if (!NumberOf(token) && IsCodeText(rest.substr(0, end)) && token.kind != Kind::Latin) continue;
            if (token.kind == Kind::Latin && !NumberOf(token) && rest[0] == '_') continue;
            // Only ends on a character boundary.
            std::size_t boundary = 0;
            while (boundary < end) boundary += CharLength(static_cast<unsigned char>(rest[boundary]));
            if (boundary != end) continue;
            auto taken = step.taken;
            taken.emplace_back(step.token, rest.substr(0, end));
            stack.push_back({step.token + 1, step.position + end, std::move(taken)});
        }
    }
    if (solutions.size() != 1) return !blocked || secondPass;
    for (const auto& [index, spelled] : solutions.front()) {
        const TitleToken& token = tokens[index];
        const auto number = NumberOf(token);
        if (number) m_numbers.Learn(*number, spelled);
        // A number read as a code other than itself or with kana after a code ("マジックス10" as
        // "まじっくす_2_1てん", "2000" as "_07_1_2000") holds a series code of that title: it is
        // no reading of the number.
        if (number && !SpellsNumber(*number, spelled)) continue;
        Entry(m_words[static_cast<std::size_t>(token.kind)], KeyText(token)).Add(spelled);
    }
    return true;
}

std::optional<std::string> ReadingDictionary::ReadKanji(std::string_view run) const {
    // The longest known word at each place, from the left.
    std::string out;
    std::size_t at = 0;
    while (at < run.size()) {
        std::size_t length = run.size() - at;
        const std::string* found = nullptr;
        for (; length > 0; --length) {
            if (at + length < run.size() && (static_cast<unsigned char>(run[at + length]) & 0xC0) == 0x80)
                continue;
            if ((found = Known(Kind::Kanji, run.substr(at, length)))) break;
        }
        if (!found) return std::nullopt;
        out += *found;
        at += length;
    }
    return out;
}

std::optional<std::string> ReadingDictionary::ReadToken(const TitleToken& token) const {
    if (token.kind == Kind::Kana) return token.kana;
    if (const std::string* known = Word(token)) return *known;
    if (token.kind == Kind::Kanji) return ReadKanji(token.text);
    if (const auto number = NumberOf(token)) {
        if (const std::string* spelled = Known(Kind::Digits, *number)) return *spelled;
        return m_numbers.Spell(*number);
    }
    if (token.kind == Kind::Latin) {
        // An abbreviation in capitals, letter by letter: "GP" as "じーぴー".
        if (token.text.size() > 4) return std::nullopt;
        std::string out;
        for (const char letter : token.text) {
            if (letter < 'A' || letter > 'Z') return std::nullopt;
            const std::string* spelled = Word({Kind::Latin, std::string(1, letter), {}});
            if (!spelled) return std::nullopt;
            out += *spelled;
        }
        return out;
    }
    return std::nullopt;
}

std::optional<std::string> ReadingDictionary::Compose(std::string_view mainPart,
                                                      const SeriesTest& isSeries) const {
    // Tags in square brackets ("[BET]") are no part of what a reading says.
    std::string untagged(mainPart);
    for (auto open = untagged.find('['); open != std::string::npos; open = untagged.find('[', open)) {
        const auto close = untagged.find(']', open);
        if (close == std::string::npos) break;
        untagged.erase(open, close - open + 1);
    }
    const std::vector<TitleToken> tokens = TokenizeTitle(untagged, m_style);
    if (tokens.empty()) return std::nullopt;
    std::string out;
    for (const TitleToken& token : tokens) {
        if (isSeries && !out.empty())
            if (const auto number = NumberOf(token); number && isSeries(out)) {
                out += "_" + *number;
                continue;
            }
        const auto piece = ReadToken(token);
        if (!piece) return std::nullopt;
        out += *piece;
    }
    return out;
}

}  // namespace kanaroll::proposals
