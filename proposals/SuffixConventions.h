#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "proposals/StringMap.h"
#include "proposals/Votes.h"

// The sort codes a list appends to its readings: "ばとるがれっが_1", "あすとろふぁいたー-b1",
// "れっどほっといびざbs4_07". A reading is a stem of kana followed by a code of ASCII letters,
// digits and marks, which tells the games of a name apart by their versions and sets.
namespace kanaroll::proposals {

struct StemAndCode {
    std::string_view stem;
    std::string_view code;
};
// The code is the longest run of printable ASCII other than the blank at the end of the reading.
StemAndCode SplitCode(std::string_view reading);

// Letters and digits of a description or title as a reading's code might spell them: "Pin-Bot
// (L-5)" gives "pin", "bot", "l", "5". Letters are lower-cased; a run of letters and a run of
// digits are separate tokens.
std::vector<std::string> CodeTokens(std::string_view text);

// The series number right after the first underscore of a reading that follows kana, and the stem
// before it: "てっけん" and 4 of "てっけん_4たっぐとーなめんと". An empty stem when the reading has
// none (a number from 1 to 999 there).
struct SeriesNumber {
    std::string_view stem;
    int number = 0;
};
SeriesNumber SeriesNumberOf(std::string_view reading);

class SuffixConventions {
public:
    // One translated game's reading, and the stem its title alone gives when that is known (empty
    // otherwise): the remainder is one of the list's codes. `name` is the main part of its title,
    // which tells a series of games apart from the sets of one game.
    void Learn(std::string_view reading, std::string_view plainStem, std::string_view name = {});
    // Room for as many readings as Learn() will see.
    void Reserve(std::size_t readings) { m_series.reserve(readings); }
    // One qualifier part seen alone with the code it gave, such as "US" with "_u".
    void LearnPartCode(std::string_view part, std::string_view code);

    // True when `reading` is `plain` followed by a code the list uses (or is `plain` itself): what
    // a katakana title's reading may add to the title's hiragana.
    bool Explains(std::string_view plain, std::string_view reading) const;

    // The reading of a game from a sibling's: the description of the game and of the sibling (their
    // English descriptions, or their titles) compared token by token, and each token that differs
    // replaced in the sibling's code as the code spells it ("set 1" as "01" turning into "07" for
    // "set 7", "EAD" as "ead" into "eaa"). Nothing when the descriptions differ in their number of
    // tokens or in a token the code does not show and the list's part codes do not explain.
    // `changes` tells how far the sibling is: one for each token replaced, three for a word taken
    // as one the code leaves out.
    std::optional<std::string> FromSibling(std::string_view description, std::string_view siblingDescription,
                                           std::string_view siblingReading, int& changes) const;
    // The same, from the CodeTokens() of both descriptions.
    std::optional<std::string> FromSibling(const std::vector<std::string>& mine,
                                           const std::vector<std::string>& theirs,
                                           std::string_view siblingReading, int& changes) const;

    // `reading`, a reading made from a title alone, with the series code the list gives such a
    // reading: a list that numbers a series ("ぱわーすとーん_2" for the sequel) gives the first of
    // it "_1" where it shows no reading without a code.
    std::string WithSeriesCode(std::string reading) const;
    // True when the list gives the first game of a series it numbers "_1" ("ぱわーすとーん_1" beside
    // "ぱわーすとーん_2") more often than it leaves it without a code.
    bool NumbersFirstGames() const;
    // True when the list numbers a series under `stem` with "_1", "_2" and on.
    bool IsSeries(std::string_view stem) const;
    // The highest number the list gives a game of the series under `stem`, counting the first number
    // of a longer code ("_4" of "てっけん_4_1"); 0 when it numbers none.
    int HighestInSeries(std::string_view stem) const;
    // True when the numbers under `stem` tell different games apart ("さむらいすぴりっつ_1" for
    // "サムライスピリッツ", "_2" for "真サムライスピリッツ"), not the sets of one game
    // ("ぎんがにんきょうでん_1" and "_2" for two sets of "銀河任侠伝").
    bool NumbersGames(std::string_view stem) const;

    // The code the list gives a qualifier part seen alone, such as "_w" for "World"; null when
    // unknown.
    const std::string* PartCode(std::string_view part) const;

private:
    struct Series {
        bool plain = false;  // the stem stands as a reading of its own
        bool first = false;  // stem + "_1"
        bool later = false;  // stem + "_2" and on
    };

    // How a series that has later games shows its first: 1 with "_1", 2 without a code, 0 not at all.
    static int FirstGameKind(const Series& series);
    void CountFirstGame(int before, int after);

    StringMap<int> m_codes;
    StringMap<Series> m_series;
    int m_firstGames[2] = {0, 0};  // series whose first game has "_1", series whose first has no code
    struct Numbered {
        int highest = 0;
        std::size_t name = 0;  // a hash of the first name seen with a number
        bool severalNames = false;
    };
    StringMap<Numbered> m_numbered;
    StringMap<Votes> m_partCodes;
};

}  // namespace kanaroll::proposals
