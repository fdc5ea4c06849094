#include "proposals/ProposalEngine.h"

#include <algorithm>
#include <unordered_map>

#include "catalogue/Recode.h"
#include "proposals/FamilyReadings.h"
#include "proposals/KanaConversion.h"
#include "proposals/ProposalText.h"
#include "proposals/QualifierRewrites.h"
#include "proposals/ReadingDictionary.h"
#include "proposals/SiblingTitles.h"
#include "proposals/StringMap.h"
#include "proposals/SuffixConventions.h"
#include "proposals/TitleParts.h"
#include "proposals/TitleTokens.h"
#include "proposals/Utf8Chars.h"
#include "proposals/Votes.h"
#include "replace/TitleReplace.h"

namespace kanaroll {
namespace proposals {

// Everything Learn() found, in UTF-8.
class Learned {
public:
    const TextCodec* codec = &ShiftJisCodec();
    ReplaceRuleList rules;  // in UTF-8, only those whose replacement the list shows
    KanaStyle kana;
    SuffixConventions suffixes;
    QualifierRewrites qualifiers;
    ReadingDictionary dictionary{kana};
    // Family key (catalogue bytes) to its games, master included.
    StringMap<std::vector<const TRecordset*>> families;
    // A title's main part to the readings the list gives it.
    StringMap<Votes> readingsByMainPart;
    // A head with a second name ("ザ・キング・オブ・ファイターズ 2001 / The King of Fighters 2001
    // Plus") to its readings: the second name tells apart games the main part does not.
    // Kept by the head's hash: most lists have thousands of such heads, and no key is ever listed.
    std::unordered_map<std::size_t, Votes> readingsBySecondName;
    // Whether the list mostly gives all the titles of a second name one reading.
    bool secondNamesReadAlike = false;
    // An English head to the Japanese heads the list gives it.
    StringMap<Votes> headsByEnglishHead;
    // The English names of the catalogue that have a numbered sequel among its untranslated games
    // ("power stone" for "Power Stone 2", "paraparaparadise" for "ParaParaParadise 2nd Mix"),
    // lower-cased; and whether the list gives the first game of such a series "_1".
    StringMap<bool> namesWithSequels;
    bool numbersFirstGames = false;
    // Titles with a subtitle (" -") whose reading leaves it out, and those whose reading reads it.
    int subtitlesLeftOut = 0;
    int subtitlesRead = 0;
};

}  // namespace proposals

using namespace proposals;

namespace {

// A game's texts in UTF-8, as the engine reads them.
struct GameTexts {
    std::string english;
    std::string title;
    std::string reading;
    bool translated = false;
};

GameTexts TextsOf(const TRecordset& game, const TextCodec& codec) {
    return {ToWorkingText(game.englishName, codec), ToWorkingText(game.japaneseName, codec),
            ToWorkingText(game.reading, codec), game.translated};
}

// A title the list made its own, as opposed to MAME's English description kept as it stands.
bool HasOwnTitle(const GameTexts& texts) {
    return texts.translated && !texts.title.empty();
}

// The ZIP name, title and reading of a name-list line.
bool CutKeptLine(std::string_view line, std::string_view& zip, std::string_view& title,
                 std::string_view& reading) {
    const auto first = line.find('\t');
    if (first == std::string_view::npos) return false;
    zip = line.substr(0, first);
    const auto second = line.find('\t', first + 1);
    if (second == std::string_view::npos) return false;
    title = line.substr(first + 1, second - first - 1);
    const auto third = line.find('\t', second + 1);
    reading = line.substr(second + 1,
                          third == std::string_view::npos ? std::string_view::npos : third - second - 1);
    return !title.empty() && !reading.empty();
}

// Whether the reading of a title with a subtitle reads it: told where the part before the subtitle
// is all kana, whose hiragana the reading then starts with.
void LearnSubtitle(Learned& learned, std::string_view mainPart, std::string_view reading) {
    const std::string_view name = WithoutSubtitle(mainPart);
    if (name.size() == mainPart.size()) return;
    const auto kana = KanaToHiragana(name, learned.kana);
    if (!kana || !reading.starts_with(*kana)) return;
    ++(SplitCode(reading.substr(kana->size())).stem.empty() ? learned.subtitlesLeftOut
                                                            : learned.subtitlesRead);
}

void LearnTitleAndReading(Learned& learned, std::string_view title, std::string_view reading) {
    const std::string_view mainPart = MainPart(title);
    LearnSubtitle(learned, mainPart, reading);
    learned.readingsByMainPart[std::string(mainPart)].Add(reading);
    if (const std::string_view head = SplitTitle(title).head; head.size() > mainPart.size())
        learned.readingsBySecondName[TextHash{}(head)].Add(reading);
    learned.suffixes.Learn(reading, {}, mainPart);
    learned.dictionary.Learn(mainPart, reading);
    // A reading that leaves the subtitle out still reads the words of the name before it.
    const std::string_view name = WithoutSubtitle(mainPart);
    if (name.size() < mainPart.size()) learned.dictionary.Learn(name, reading);
}

// Whether the list writes "ヴ" as "ゔ" in its readings: only a UTF-8 list can, and it does when most
// of its titles with "ヴ" have it in their readings. Known before any reading is learned, since the
// dictionary reads kana that way.
bool KeepsVu(const GameList& games, const TextCodec& codec) {
    if (&codec != &Utf8Codec()) return false;
    int titles = 0;
    int readings = 0;
    for (const auto& record : games.Items()) {
        if (!record->translated || record->reading.empty()) continue;
        if (record->japaneseName.find("ヴ") == std::string::npos) continue;
        ++titles;
        if (record->reading.find("ゔ") != std::string::npos) ++readings;
    }
    return titles > 0 && readings * 2 >= titles;
}

// Whether `bytes` may hold a wave dash: "～" or "〜" in UTF-8, 81 60 in Shift-JIS. One pass over the
// bytes; the common lead bytes of Japanese text make a search for each form slower.
bool HoldsWaveDash(std::string_view bytes, bool utf8) {
    for (std::size_t at = 2; at < bytes.size(); ++at) {
        const auto c = static_cast<unsigned char>(bytes[at]);
        if (utf8 ? (c == 0x9E && bytes[at - 1] == '\xBD' && bytes[at - 2] == '\xEF') ||
                       (c == 0x9C && bytes[at - 1] == '\x80' && bytes[at - 2] == '\xE3')
                 : c == 0x60 && bytes[at - 1] == '\x81')
            return true;
    }
    return !utf8 && bytes.size() == 2 && bytes == "\x81\x60";
}

// Whether the list reads a wave dash after kana as "ー": it does when most of its titles with one
// have that mark in their readings.
bool ReadsWaveAsLongVowel(const GameList& games, const TextCodec& codec) {
    const bool utf8 = &codec == &Utf8Codec();
    int titles = 0;
    int readings = 0;
    for (const auto& record : games.Items()) {
        if (!record->translated || record->reading.empty()) continue;
        // Only a title with the bytes of a wave dash is worth decoding.
        const std::string& bytes = record->japaneseName;
        if (!HoldsWaveDash(bytes, utf8)) continue;
        const std::string title = ToWorkingText(bytes, codec);
        std::size_t offset = 0;
        char32_t previous = 0;
        bool afterKana = false;
        while (offset < title.size() && !afterKana) {
            const char32_t c = DecodeUtf8(title, offset);
            afterKana = IsWaveDash(c) && KindOf(previous) == CharKind::Kana;
            previous = c;
        }
        if (!afterKana) continue;
        ++titles;
        if (ToWorkingText(record->reading, codec).find("ー") != std::string::npos) ++readings;
    }
    return titles > 0 && readings * 2 > titles;
}

// A word that numbers a sequel: 2 to 20 in digits, Roman numerals or as an ordinal ("2nd", "3rd").
bool IsSequelNumber(std::string_view word) {
    if (word.empty()) return false;
    if (word[0] >= '0' && word[0] <= '9') {
        int value = 0;
        std::size_t digits = 0;
        for (; digits < word.size() && digits < 3 && word[digits] >= '0' && word[digits] <= '9'; ++digits)
            value = value * 10 + (word[digits] - '0');
        const std::string_view rest = word.substr(digits);
        const bool ordinal = rest == "st" || rest == "nd" || rest == "rd" || rest == "th";
        return digits <= 2 && value >= 2 && value <= 20 && (rest.empty() || ordinal);
    }
    if (word[0] != 'I' && word[0] != 'V' && word[0] != 'X') return false;
    const auto roman = RomanValue(word);
    return roman && *roman >= 2 && *roman <= 20;
}

// The English name of a description, without qualifier, second name or subtitle.
std::string_view EnglishNameOf(std::string_view description) {
    std::string_view name = WithoutSubtitle(MainName(SplitTitle(description).head));
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return name;
}

// The English name of a description in lower case, as the names with sequels are kept: "fisherman's
// bait" of "Fisherman's Bait - A Bass Challenge (GE765 ver. UAB)". Empty for a name that is not plain
// ASCII.
std::string EnglishName(std::string_view description) {
    const std::string_view name = EnglishNameOf(description);
    return IsAscii(name) ? ToLowerAscii(name) : std::string();
}

// Whether a word after a blank, before the qualifier, could number a sequel: a quick look that spares
// most descriptions the full one.
bool MayNumberASequel(std::string_view description) {
    for (std::size_t at = 1; at < description.size(); ++at) {
        if (description[at - 1] != ' ') continue;
        const char next = description[at];
        if (next == '(') return false;
        if ((next >= '1' && next <= '9') || next == 'I' || next == 'V' || next == 'X') return true;
    }
    return false;
}

// Records the name of `description` without its sequel number, when it has one after its first word.
void LearnSequel(Learned& learned, std::string_view description) {
    if (!MayNumberASequel(description)) return;
    const std::string_view name = EnglishNameOf(description);
    for (std::size_t blank = name.find(' '); blank != std::string_view::npos;
         blank = name.find(' ', blank + 1)) {
        const std::size_t end = name.find(' ', blank + 1);
        if (!IsSequelNumber(name.substr(
                blank + 1, end == std::string_view::npos ? std::string_view::npos : end - blank - 1)))
            continue;
        if (IsAscii(name.substr(0, blank)))
            learned.namesWithSequels[ToLowerAscii(name.substr(0, blank))] = true;
        return;
    }
}

}  // namespace

ProposalEngine::ProposalEngine() : m_learned(std::make_unique<Learned>()) {}
ProposalEngine::~ProposalEngine() = default;

const KanaStyle& ProposalEngine::Kana() const {
    return m_learned->kana;
}
const SuffixConventions& ProposalEngine::Suffixes() const {
    return m_learned->suffixes;
}

void ProposalEngine::Learn(const GameList& games, const TextCodec& codec, const ReplaceRuleList& rules,
                           const std::vector<KeptNameListLine>& keptLines) {
    auto learned = std::make_unique<Learned>();
    learned->codec = &codec;
    // A rule whose replacement the list never shows would write what the list does not say
    // ("米国版" where it says "US版"): only rules the list agrees with are applied.
    ReplaceRuleList candidateRules;
    for (const TReplacePatterns& rule : rules)
        if (!rule.searchText.empty())
            candidateRules.push_back({ToWorkingText(rule.searchText, codec),
                                      ToWorkingText(rule.replacementText, codec), rule.onlyInParentheses});
    std::vector<bool> shown(candidateRules.size(), false);
    learned->kana.keepVu = KeepsVu(games, codec);
    learned->kana.waveAsLongVowel = ReadsWaveAsLongVowel(games, codec);
    // Room for every game from the start: growing these maps 15 times over costs more than filling
    // them.
    const std::size_t texts = static_cast<std::size_t>(games.Count()) + keptLines.size();
    learned->families.reserve(static_cast<std::size_t>(games.Count()));
    learned->readingsByMainPart.reserve(texts);
    learned->headsByEnglishHead.reserve(static_cast<std::size_t>(games.Count()));
    learned->suffixes.Reserve(texts);
    for (const auto& record : games.Items()) {
        Entry(learned->families, record->FamilyKey()).push_back(record.get());
        // A translated sequel shows its series in its reading already ("ぱわーすとーん_2").
        if (!record->translated) LearnSequel(*learned, record->englishName);
        if (!record->translated || record->reading.empty()) continue;
        const GameTexts texts = TextsOf(*record, codec);
        LearnTitleAndReading(*learned, texts.title, texts.reading);
        for (std::size_t r = 0; r < candidateRules.size(); ++r)
            if (!shown[r] && texts.title.find(candidateRules[r].replacementText) != std::string::npos)
                shown[r] = true;
        const TitleParts english = SplitTitle(texts.english);
        const TitleParts japanese = SplitTitle(texts.title);
        if (!english.head.empty() && !japanese.head.empty())
            learned->headsByEnglishHead[std::string(english.head)].Add(japanese.head);
        const QualifierGroups groups = SplitQualifier(english.qualifier);
        if (groups.empty()) continue;
        learned->qualifiers.Learn(groups, SplitQualifier(japanese.qualifier));
        if (groups.size() == 1 && groups[0].size() == 1)
            learned->suffixes.LearnPartCode(ToLowerAscii(groups[0][0]), SplitCode(texts.reading).code);
    }
    for (const KeptNameListLine& line : keptLines) {
        std::string_view zip, title, reading;
        if (!CutKeptLine(line.bytes, zip, title, reading)) continue;
        LearnTitleAndReading(*learned, ToWorkingText(title, codec), ToWorkingText(reading, codec));
    }
    learned->dictionary.LearnAgain();
    learned->numbersFirstGames = learned->suffixes.NumbersFirstGames();
    int alike = 0;
    int apart = 0;
    for (const auto& [head, readings] : learned->readingsBySecondName)
        if (readings.Total() > 1) ++(readings.Values().size() == 1 ? alike : apart);
    learned->secondNamesReadAlike = alike > 2 * apart;
    for (std::size_t r = 0; r < candidateRules.size(); ++r)
        if (shown[r]) learned->rules.push_back(std::move(candidateRules[r]));
    m_learned = std::move(learned);
}

std::string ProposeTitleUtf8(const Learned& learned, const TRecordset& game);

// The stem of a series the list numbers under `name`: every reading it gives the name is that stem
// followed by "_" and a number ("てっけん_1"). Empty when it gives none or reads the name otherwise.
std::string_view NumberedSeriesOf(const Learned& learned, std::string_view name) {
    const Votes* readings = Find(learned.readingsByMainPart, name);
    if (!readings) return {};
    std::string_view stem;
    for (const auto& [reading, count] : readings->Values()) {
        const std::string_view own = SeriesNumberOf(reading).stem;
        if (own.empty() || (!stem.empty() && own != stem)) return {};
        stem = own;
    }
    return stem;
}

// A new game of a numbered series under a name of its own, "鉄拳タッグトーナメント" after "鉄拳",
// "鉄拳2" and "鉄拳3" ("てっけん_1" to "てっけん_3"): the series' next number, then the reading of
// the rest of the name ("てっけん_4たっぐとーなめんと"). The series' name must end at a blank or
// where the script changes, and the rest must be a name, not a number of the series.
std::optional<std::string> NextInSeries(const Learned& learned, std::string_view name,
                                        const ReadingDictionary::SeriesTest& isSeries) {
    std::vector<std::pair<std::size_t, std::size_t>> cuts;  // end of the series' name, start of the rest
    const auto isScript = [](CharKind k) {
        return k == CharKind::Kana || k == CharKind::Kanji || k == CharKind::Latin;
    };
    std::size_t offset = 0;
    CharKind previous = CharKind::Separator;
    while (offset < name.size()) {
        const std::size_t at = offset;
        const char32_t c = DecodeUtf8(name, offset);
        const CharKind kind = KindOf(c);
        if (NarrowAscii(c) == ' ' && at > 0) {
            std::size_t rest = offset;
            while (rest < name.size() && name[rest] == ' ') ++rest;
            cuts.emplace_back(at, rest);
        } else if (isScript(kind) && isScript(previous) && kind != previous) {
            cuts.emplace_back(at, at);
        }
        previous = kind;
    }
    for (auto cut = cuts.rbegin(); cut != cuts.rend(); ++cut) {
        const std::string_view rest = name.substr(cut->second);
        if (rest.empty()) continue;
        std::size_t peek = 0;
        const CharKind first = KindOf(DecodeUtf8(rest, peek));
        if (!isScript(first)) continue;
        if (first == CharKind::Latin && RomanValue(rest.substr(0, rest.find(' ')))) continue;
        // A name with a number of its own ("セガラリー2 デラックス", "ドラムマニア 2nd Mix ...") is one
        // game of the series, and what follows it is a version of that game, not a new one.
        const std::string_view seriesName = name.substr(0, cut->first);
        const auto tokens = TokenizeTitle(seriesName, learned.kana);
        if (std::any_of(tokens.begin(), tokens.end(), [](const TitleToken& token) {
                return token.kind == TitleToken::Kind::Digits || token.kind == TitleToken::Kind::Roman ||
                       (token.kind == TitleToken::Kind::Latin && RomanValue(token.text));
            }))
            continue;
        const std::string_view stem = NumberedSeriesOf(learned, seriesName);
        if (stem.empty()) continue;
        // The numbers must tell games apart, not the sets of one ("Atlantic (set 2)" as "_2"); a
        // lone "_1" is the first game of a series the list expects to grow.
        const int highest = learned.suffixes.HighestInSeries(stem);
        if (highest < 1 || (highest > 1 && !learned.suffixes.NumbersGames(stem))) continue;
        const auto tail = learned.dictionary.Compose(rest, isSeries);
        if (!tail) continue;
        return std::string(stem) + "_" + std::to_string(highest + 1) + *tail;
    }
    return std::nullopt;
}

// The replace rules over a proposed title as F3 runs them, except that a rule limited to the
// parentheses runs only where it finds its text there: F3 puts even an unchanged parenthesised text
// back wherever it stands in the title, in the letter case it has inside the parentheses, which
// would turn "(Ace) (sp.ACE)" into "(Ace) (sp.Ace)" without any rule having matched.
std::string ApplyAgreedRules(const Learned& learned, std::string title) {
    const TextCodec& utf8 = Utf8Codec();
    for (const TReplacePatterns& rule : learned.rules) {
        if (rule.onlyInParentheses) {
            const auto open = title.find('(');
            const auto close = title.find(')');
            const std::size_t from = open == std::string::npos ? 0 : open + 1;
            if (close == std::string::npos || close < from) continue;
            const std::string inner = title.substr(from, close - from);
            if (utf8.Find(utf8.ToUpper(inner), utf8.ToUpper(rule.searchText)) == std::string_view::npos)
                continue;
        }
        title = ApplyRulesToTitle(title, ReplaceRuleList{rule}, utf8);
    }
    return title;
}

// The title the game's siblings give it, each by the one word its description differs in from
// theirs; nothing when none does, or when two siblings give different titles.
std::optional<std::string> TitleFromSiblings(const Learned& learned, const TRecordset& game,
                                             std::string_view english,
                                             const std::vector<const TRecordset*>& family) {
    const SiblingTitles siblings(learned.qualifiers);
    std::optional<std::string> agreed;
    for (const TRecordset* member : family) {
        if (member == &game || !member->translated || member->japaneseName.empty() ||
            member->englishName.empty())
            continue;
        const GameTexts texts = TextsOf(*member, *learned.codec);
        auto title = siblings.FromSibling(english, texts.english, texts.title);
        if (!title) continue;
        if (agreed && *agreed != *title) return std::nullopt;
        agreed = std::move(title);
    }
    return agreed;
}

std::string ProposalEngine::ProposeTitle(const TRecordset& game) const {
    const std::string title = ProposeTitleUtf8(*m_learned, game);
    return ToCatalogueText(title, *m_learned->codec).value_or(std::string());
}

std::string ProposeTitleUtf8(const Learned& learned, const TRecordset& game) {
    const TextCodec& codec = *learned.codec;
    const std::string english = ToWorkingText(game.englishName, codec);
    const TitleParts own = SplitTitle(english);
    if (own.head.empty()) return {};
    const auto family = learned.families.find(game.FamilyKey());
    if (family != learned.families.end())
        if (auto title = TitleFromSiblings(learned, game, english, family->second)) return std::move(*title);
    std::string head;
    const TRecordset* master = nullptr;
    if (family != learned.families.end())
        for (const TRecordset* member : family->second)
            if (member->isMaster && member != &game) master = member;
    if (master) {
        const GameTexts texts = TextsOf(*master, codec);
        if (HasOwnTitle(texts)) {
            const TitleParts masterEnglish = SplitTitle(texts.english);
            const TitleParts masterTitle = SplitTitle(texts.title);
            const std::string_view masterMain = MainName(masterTitle.head);
            if (masterEnglish.head == own.head) {
                head = masterTitle.head;
            } else if (masterTitle.head == masterEnglish.head) {
                // The list keeps this family's English names.
                head = own.head;
            } else if (masterMain.size() < masterTitle.head.size() &&
                       masterTitle.head.ends_with(masterEnglish.head)) {
                // "天地を喰らう / Dynasty Wars": the Japanese name without the master's English one,
                // which is not this game's.
                head = masterMain;
            }
        }
    }
    if (head.empty()) {
        if (const Votes* heads = Find(learned.headsByEnglishHead, own.head))
            if (const std::string* best = heads->Best(1, 0.5)) head = *best;
    }
    if (head.empty()) return {};
    return ApplyAgreedRules(learned, head + learned.qualifiers.Rewrite(own.qualifier));
}

std::string ProposalEngine::ProposeReading(const TRecordset& game) const {
    if (game.translated && !game.japaneseName.empty() && game.japaneseName != game.englishName)
        return ProposeReadingForTitle(game, game.japaneseName);
    const std::string title = ProposeTitle(game);
    return ProposeReadingForTitle(game, title.empty() ? game.japaneseName : title);
}

std::string ProposalEngine::ProposeReadingForTitle(const TRecordset& game,
                                                   std::string_view typedTitle) const {
    const Learned& learned = *m_learned;
    const TextCodec& codec = *learned.codec;
    const std::string title = ToWorkingText(typedTitle, codec);
    const std::string english = ToWorkingText(game.englishName, codec);
    const std::string_view mainPart = MainPart(title);
    std::optional<std::string> reading;
    // The family first: its known readings, turned to this game's by the family's own convention.
    const auto family = learned.families.find(game.FamilyKey());
    if (family != learned.families.end()) {
        std::vector<FamilyMember> members;
        for (const TRecordset* member : family->second) {
            if (member == &game || !member->translated || member->reading.empty()) continue;
            GameTexts texts = TextsOf(*member, codec);
            const bool byEnglish = !english.empty() && !texts.english.empty();
            members.push_back({byEnglish ? std::move(texts.english) : texts.title, std::move(texts.title),
                               std::move(texts.reading), member->isMaster});
        }
        if (!members.empty()) {
            const bool byEnglish = !english.empty() && !members.front().description.empty() &&
                                   members.front().description != members.front().title;
            reading =
                FamilyReadings(learned.suffixes).Propose(byEnglish ? english : title, mainPart, members);
        }
    }
    // In a list that reads a second name one way for all its sets, a second name read one way where
    // the main part is read in several names one game ("ザ・キング・オブ・ファイターズ 2001 / The
    // King of Fighters 2001 Plus"). A list that codes each set of such a name ("ジャングルキング /
    // Jungle Hunt" as "_u" for the US set, "_b" for the Brazilian) leaves that to the family.
    if (const std::string_view head = SplitTitle(title).head;
        !reading && learned.secondNamesReadAlike && head.size() > mainPart.size())
        if (const auto found = learned.readingsBySecondName.find(TextHash{}(head));
            found != learned.readingsBySecondName.end() && found->second.Values().size() == 1)
            if (const Votes* byMainPart = Find(learned.readingsByMainPart, mainPart);
                byMainPart && byMainPart->Values().size() > 1)
                reading = found->second.Values().front().first;
    if (!reading) {
        if (const Votes* readings = Find(learned.readingsByMainPart, mainPart)) {
            // The list reads this name in many ways, none of them most of the time: each of its
            // games has a code of its own, which nothing here tells.
            const std::string* best = readings->Best(1, 0.5);
            if (!best) return {};
            reading = *best;
        }
    }
    // Word by word, without the subtitle where the list leaves subtitles out of its readings.
    const auto isSeries = [&](std::string_view stem) { return learned.suffixes.IsSeries(stem); };
    const std::string_view name = WithoutSubtitle(mainPart);
    // What the reading reads: the name alone where the list leaves subtitles out, else the main part,
    // which is also tried when the name alone cannot be read.
    std::string_view read =
        name.size() < mainPart.size() && learned.subtitlesLeftOut > learned.subtitlesRead ? name : mainPart;
    if (!reading) reading = NextInSeries(learned, read, isSeries);
    std::optional<std::string> composed;
    if (!reading) composed = learned.dictionary.Compose(read, isSeries);
    if (!reading && !composed && read.size() < mainPart.size()) {
        read = mainPart;
        composed = learned.dictionary.Compose(read, isSeries);
    }
    if (composed) {
        reading = learned.suffixes.WithSeriesCode(*composed);
        // The first game of a series whose sequel the catalogue holds ("Power Stone" beside "Power
        // Stone 2"), where the list numbers such first games and shows nothing of this one's series.
        // Only for a name of one word: the series number follows the series' name, which a longer
        // title does not show.
        if (*reading == *composed && learned.numbersFirstGames && SplitCode(*reading).code.empty() &&
            read.find(' ') == std::string_view::npos && Find(learned.namesWithSequels, EnglishName(english)))
            *reading += "_1";
    }
    if (!reading) return {};
    return ToCatalogueText(*reading, codec).value_or(std::string());
}

}  // namespace kanaroll
