#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "catalogue/GameList.h"
#include "catalogue/NameListFormat.h"
#include "catalogue/TextCodec.h"

// The lines of a name list as a save writes them, line for line, so that what checks a list before
// a save sees exactly what the writer then writes.
namespace kanaroll {

enum class ListFormat {
    // mame32j.lst in the format of the list read at start: its codec, columns and line ends, with
    // the lines no game took written back byte for byte (see WriteMame32J).
    Mame32J,
    // The list MAME's own UI reads on any system: UTF-8 with the byte-order mark, three columns
    // (ZIP name, title, reading), CR LF after every line. The lines of the list read at start that
    // name a game the catalogue lacks come after the catalogue's, converted and cut to three columns.
    MameUi,
};

// How the file holds its lines.
struct ListFileStyle {
    const TextCodec* codec = &ShiftJisCodec();
    bool byteOrderMark = false;
    std::string_view lineEnd = "\r\n";
    bool finalLineEnd = true;
    // Written last, on a line of its own: a Ctrl-Z that ended the list read at start, and what
    // followed it.
    std::string_view endOfFile;
};

// One line as it is written: its bytes in the file's codec, without the line end.
struct ListLine {
    std::string_view text;
    int lineNumber = 0;  // from 1, after the byte-order mark
    int game = -1;       // the GameList index of the game the line is written for; -1 for a kept line
    int kept = -1;       // the index of the kept line it is written from; -1 for a game's line
};

class ListLines {
public:
    // The lines of `format` for `games`, whose texts are in `catalogueCodec`, and `list`, the name
    // list read at start. The objects must outlive this one.
    ListLines(const GameList& games, const LoadedNameList& list, const TextCodec& catalogueCodec,
              ListFormat format);

    const ListFileStyle& Style() const { return m_style; }

    // Calls `visit` with each line in file order: one for every translated game, in listinfo.txt
    // order, then the kept lines the format takes. A line's text is valid during its call only.
    void ForEach(const std::function<void(const ListLine&)>& visit) const;

private:
    void ForEachKept(const std::function<void(const ListLine&)>& visit, ListLine& line) const;

    const GameList& m_games;
    const LoadedNameList& m_list;
    const TextCodec& m_catalogueCodec;
    ListFormat m_format;
    ListFileStyle m_style;
};

// A line as MAME's UI splits it: the ZIP name before the first TAB, the title up to the next TAB
// and the reading up to the one after (or the end of the line). MAME skips a line without a TAB.
struct MameLineFields {
    bool namesGame = false;  // the line has a TAB
    std::string_view zipName;
    std::string_view title;
    bool hasReading = false;  // a TAB follows the title
    std::string_view reading;
};
MameLineFields SplitAsMame(std::string_view text);

// Writes the lines in their file's style. Throws IoError; the previous file stays intact when the
// write fails.
void WriteListLines(const std::filesystem::path& path, const ListLines& lines);

// The kept lines of a name list, through these two only, so that their storage can change.
std::size_t KeptLineCount(const LoadedNameList& list);
// The line's bytes as they stood in the file.
std::string_view KeptLineBytes(const LoadedNameList& list, std::size_t index);

}  // namespace kanaroll
