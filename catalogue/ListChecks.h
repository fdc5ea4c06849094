#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/ListLines.h"
#include "catalogue/TextCodec.h"

// What MAME would cut or warn about in a list that is about to be written, found before the save
// so that the window can show every finding of that save in one box.
//
// MAME reads a list a line at a time into a buffer of 1,024 bytes, each character converted to
// UTF-8 first (a list without the byte-order mark is decoded in the ANSI code page, 932 on a
// Japanese Windows). It takes the ZIP name before the first TAB, the title up to the next TAB and
// the reading up to the one after, each without the blanks around it; it skips a line without a
// TAB, takes the first line of a ZIP name and warns about any later one, and warns about an empty
// title or reading.
namespace kanaroll {

// The longest line MAME reads whole, counted in UTF-8 bytes without the line end.
constexpr std::size_t kMameLineBytes = 1024;

enum class ListProblem {
    LineTooLong,         // MAME cuts the line and reads the rest as a line of its own
    DuplicateZipName,    // MAME takes the first line of the name and warns about this one
    EmptyTitle,          // MAME warns and shows the English title
    ReadingWithoutKana,  // MAME sorts the game by a reading that reads as nothing
    KatakanaReading,     // a katakana title whose reading is not its hiragana: a typing error
};

// One thing found in one line.
struct ListFinding {
    ListProblem problem = ListProblem::LineTooLong;
    int lineNumber = 0;  // from 1, as ListLine counts
    // The GameList index of the game concerned: the line's own game, or for a duplicate whose line
    // is kept, the game whose line has the name first; -1 when no game of the catalogue is concerned.
    int game = -1;
    std::string zipName;      // UTF-8, for the message; empty for a line without a TAB
    std::size_t bytes = 0;    // LineTooLong: the line's length as MAME counts it
    int firstLineNumber = 0;  // DuplicateZipName: the line that has the name first
};

// Every finding of one save, in line order (and within a line, in the order of the checks).
struct ListCheckReport {
    std::vector<ListFinding> findings;

    bool Clean() const { return findings.empty(); }
    // The game to go back to: that of the first finding that concerns a game, -1 when none does.
    int FirstGame() const;
};

// What a check sees of a line.
struct CheckedLine {
    const ListLine& line;
    const MameLineFields& fields;
    const TextCodec& codec;  // of the file
};

// One check, shown every line of the list in order; it adds what it finds.
class ListCheck {
public:
    virtual ~ListCheck() = default;
    virtual void Check(const CheckedLine& line, std::vector<ListFinding>& findings) = 0;
};

// The checks, each on its own.
std::unique_ptr<ListCheck> LineLengthCheck();
std::unique_ptr<ListCheck> DuplicateZipNameCheck();
std::unique_ptr<ListCheck> EmptyTitleCheck();
std::unique_ptr<ListCheck> KanaReadingCheck();
// See ReadingFitsTitle (KatakanaReading.h) for what a reading of a katakana title may be.
std::unique_ptr<ListCheck> KatakanaReadingCheck();

// The checks of every save, in the order their findings come for a line. A caller with a check of
// its own appends it to these; it adds its own ListProblem and text.
std::vector<std::unique_ptr<ListCheck>> SaveChecks();

// Runs the checks over every line of `lines`.
ListCheckReport CheckList(const ListLines& lines, std::span<const std::unique_ptr<ListCheck>> checks);
// With SaveChecks().
ListCheckReport CheckList(const ListLines& lines);

// The bytes MAME's buffer takes for `text` of `codec`: its UTF-8 length.
std::size_t MameLineBytes(std::string_view text, const TextCodec& codec);
// True when `text` holds a hiragana or katakana letter (half-width ones too); the long vowel mark,
// the middle dot and the voicing marks alone are no kana.
bool HoldsKana(std::string_view text, const TextCodec& codec);
// True when `text` is empty once MAME has taken the blanks (space, TAB, CR, LF, VT, FF) off its ends.
bool EmptyForMame(std::string_view text);

// What the box shows for a finding, in UTF-8: "12行目 (pacman): タイトルが空です".
std::string DescribeFinding(const ListFinding& finding);
// The box's list: one finding a line (CR LF between them), at most `shown` of them and then how
// many more there are.
std::string DescribeFindings(const ListCheckReport& report, std::size_t shown);

}  // namespace kanaroll
