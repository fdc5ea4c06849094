#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/TextCodec.h"

namespace kanaroll {

// How a Mame32J list is written. A Shift-JIS list is written the one way its format knows: four
// columns, CR LF after every line, the last one too. A list kept in UTF-8, which begins with the
// byte-order mark, is written back the way it came: mark, columns, line end and final line end.
struct NameListFormat {
    const TextCodec* codec = &ShiftJisCodec();
    bool byteOrderMark = false;
    int columns = 4;  // 4: ZIP name, title, reading, manufacturer; 3: without the manufacturer
    std::string_view lineEnd = "\r\n";
    bool finalLineEnd = true;  // false: the last line goes without a line end

    bool operator==(const NameListFormat&) const = default;
};

// A line of the name list read at start that no game took.
struct KeptNameListLine {
    // Its bytes as they stood in the file (a CR that does not end the line and a Ctrl-Z with the
    // rest of its line included), without the line end.
    std::string bytes;
    // The ZIP name the merge read from it, in the catalogue's codec: what the line would translate
    // at the next start. None when the line names no game (a line of a UTF-8 list without a TAB).
    std::optional<std::string> zipName;
};

// What a save takes over from the name list read at start: how that list was written, and every
// line of it that no game took, so that writing the list again drops no translation of a game the
// catalogue lacks.
struct LoadedNameList {
    NameListFormat format;
    // The lines no game took, in file order.
    std::vector<KeptNameListLine> keptLines;
    // A Ctrl-Z that starts a line ends the list: it and everything after it, as they stood, so that
    // they are written back at the end.
    std::string endOfFile;
};

}  // namespace kanaroll
