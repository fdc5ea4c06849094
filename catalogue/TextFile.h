#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Kanaroll's file layer: every file is opened, read and written here, and every failure becomes an
// IoError with its I/O error number. Files close on every way out.
namespace kanaroll {

// True only for an existing file (not a folder).
bool FileExists(const std::filesystem::path& path);

class InputFile {
public:
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to `size` bytes; 0 at the end of the file.
    std::size_t Read(char* buffer, std::size_t size);

private:
    std::FILE* m_file;
    std::filesystem::path m_path;
};

// The input of every chunked reader: a file and the bytes read from it that the reader has not
// taken yet, [begin, end) of `buffer`.
struct ChunkedInput {
    // The buffer starts a chunk long, so that it has storage before the first read.
    ChunkedInput(const std::filesystem::path& path, std::size_t chunkSize)
        : file(path), buffer(chunkSize), chunkSize(chunkSize) {}

    // Moves the bytes not yet taken to the front, makes room for `chunkSize` more behind them and
    // reads them. False, with `eof` set, once the file has no more bytes; `eof` set on entry reads
    // nothing.
    bool ReadNext();

    InputFile file;
    std::vector<char> buffer;
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t chunkSize;
    bool eof = false;
};

// Reads text lines: a line ends at LF or CR LF and the end is not part of it; a CR not followed by
// LF is dropped from the line; Ctrl-Z (26) ends its line and the rest of that line is skipped, and a
// Ctrl-Z at the start of a line ends the file; a last line without a line end is read like any
// other. Lines may be of any length.
class LineReader {
public:
    explicit LineReader(const std::filesystem::path& path, std::size_t chunkSize = 1 << 20);

    // The next line, valid until the next call; false at the end of the file.
    bool Next(std::string_view& line);

    // True once the first line was read and the file began with the UTF-8 byte-order mark, which is
    // then not part of that line. Only readers that ask for it by SkipUtf8Bom() lose the mark.
    void SkipUtf8Bom() { m_skipBom = true; }
    bool HadUtf8Bom() const { return m_hadBom; }

    // What ended the last line returned: "\r\n", "\n" or empty (end of file or Ctrl-Z).
    std::string_view LastLineEnd() const { return m_lastLineEnd; }

private:
    ChunkedInput m_input;
    bool m_done = false;
    bool m_skipBom = false;
    bool m_firstLine = true;
    bool m_hadBom = false;
    std::string m_cleaned;
    std::string_view m_lastLineEnd;
};

// Writes a file beside its target and replaces the target only once everything was written, so a
// failed or interrupted write leaves the previous file as it was.
class ReplacingFileWriter {
public:
    explicit ReplacingFileWriter(const std::filesystem::path& target);
    ~ReplacingFileWriter();
    ReplacingFileWriter(const ReplacingFileWriter&) = delete;
    ReplacingFileWriter& operator=(const ReplacingFileWriter&) = delete;

    void Write(std::string_view bytes);
    // Writes one field of a TAB-separated line, its separators as blanks (AppendField).
    void WriteField(std::string_view text);
    // Writes what is pending, syncs the file to the disk and closes it, so that it can be read
    // before it replaces the target; nothing more can be written.
    void Close();
    // Flushes, closes and puts the new file in place of the target.
    void Commit();

    // Where the new content goes until Commit, for a writer that watches what it has written.
    const std::filesystem::path& TemporaryPath() const { return m_temporary; }

private:
    void Flush();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    std::FILE* m_file = nullptr;
    std::string m_pending;
    bool m_closed = false;
    bool m_committed = false;
};

// A file that grows at its end, such as the recovery journal. It has no buffer of the C library:
// every Append is handed to the system before it returns, so a process killed afterwards has lost
// nothing it appended; Sync puts what was appended on the disk. Opening creates a missing file.
class AppendingFile {
public:
    explicit AppendingFile(const std::filesystem::path& path);
    ~AppendingFile();  // closes without a word; Close() reports a failure
    AppendingFile(const AppendingFile&) = delete;
    AppendingFile& operator=(const AppendingFile&) = delete;

    void Append(std::string_view bytes);
    void Sync();
    void Close();

private:
    std::FILE* m_file;
    std::filesystem::path m_path;
};

// Removes a file; one that is not there is no failure.
void RemoveFile(const std::filesystem::path& path);
// Renames a file, replacing `to` when it exists.
void RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);

struct LineEndStyle {
    std::string_view lineEnd = "\r\n";
    bool finalLineEnd = true;  // false: the last line has no line end
};

// Writes lines, each ended by the style's line end (CR LF unless told otherwise).
class LineWriter {
public:
    explicit LineWriter(const std::filesystem::path& target, LineEndStyle style = {});

    void WriteLine(std::string_view line);
    // The fields joined by single TABs, as one line.
    void WriteFields(std::initializer_list<std::string_view> fields);
    void Commit();

private:
    void BeginLine();

    ReplacingFileWriter m_writer;
    LineEndStyle m_style;
    bool m_anyLine = false;
};

}  // namespace kanaroll
