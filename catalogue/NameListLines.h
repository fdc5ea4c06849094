#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/TextFile.h"

namespace kanaroll {

// One line of a name list, seen twice: as the line rules read it (the text the merge takes fields
// from) and as its bytes stand in the file (what a save writes back when no game took the line).
struct NameListLine {
    // By the line rules of LineReader: a CR that does not end the line is dropped, and a Ctrl-Z
    // ends the line where it stands.
    std::string_view text;
    // The bytes up to the line end, CRs and a Ctrl-Z with the rest of its line included.
    std::string_view raw;
    // "\r\n", "\n", or empty for a last line without a line end.
    std::string_view end;
};

// Reads a name list in chunks, with the line rules of LineReader (the same texts, line for line)
// and the raw bytes besides. A file that begins with the UTF-8 byte-order mark loses it from its
// first line. A Ctrl-Z at the start of a line ends the lines; the bytes from there to the end of the
// file are kept as they are.
//
// The lines come in batches, every complete line the buffer holds, so that a caller can look ahead
// (and ask for the memory it will touch early); a read that fails comes only after the caller has
// had every line before it.
class NameListLines {
public:
    explicit NameListLines(const std::filesystem::path& file, std::size_t chunkSize = 1 << 20);

    // The next lines, at least one, valid until the next call; false at the end of the lines.
    bool NextBatch(std::vector<NameListLine>& lines);

    // Known once NextBatch was called.
    bool HadUtf8Bom() const { return m_hadBom; }
    // Once NextBatch returned false: from a Ctrl-Z that starts a line to the end of the file, or
    // empty.
    std::string_view EndOfFile() const { return m_endOfFile; }

private:
    struct CleanedText {
        std::size_t line;
        std::size_t offset;
        std::size_t size;
    };

    void Start();
    void TakeEndOfFile();
    void AddLine(std::vector<NameListLine>& lines, std::size_t stop, bool hasLf);

    ChunkedInput m_input;
    bool m_started = false;
    bool m_done = false;
    bool m_hadBom = false;
    std::string m_cleaned;  // the texts of the batch that lost a CR, one after the other
    std::vector<CleanedText> m_cleanedTexts;
    std::string m_endOfFile;
};

}  // namespace kanaroll
