#include "catalogue/TextFile.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "catalogue/FileFaults.h"
#include "catalogue/IoError.h"
#include "catalogue/TabFields.h"

#ifdef _WIN32
#include <io.h>      // _commit, _fileno: the C runtime's, no Win32 API
#include <stdlib.h>  // _doserrno
#else
#include <unistd.h>  // fsync
#endif

namespace kanaroll {

namespace {

constexpr char kCtrlZ = 26;

// Throws the error that a test made this step fail with.
void FailIfInjected(FileStep step, const std::filesystem::path& file) {
    if (const int error = InjectedFileFault(step, file)) throw IoErrorFromErrno(error);
}

// Called before each C library call whose failure is reported, so that a cause left by an earlier
// call is not taken for its own.
void ClearFailureCause() {
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
}

// The system's own code for the call that just failed, 0 where the C library gave only errno. On
// Windows the C runtime keeps it beside errno, which says less: a read fault and a file locked by
// another program are both EACCES there, and every code it does not know is EINVAL.
unsigned long SystemFailureCode() {
#ifdef _WIN32
    return _doserrno;
#else
    return 0;
#endif
}

// The I/O error of the C library call that just failed.
IoError LastFailure() {
    if (const unsigned long code = SystemFailureCode()) return IoErrorFromWindowsError(code);
    return IoErrorFromErrno(errno);
}

IoError FailureOf(const std::error_code& error) {
#ifdef _WIN32
    if (error.category() == std::system_category())
        return IoErrorFromWindowsError(static_cast<unsigned long>(error.value()));
#endif
    return IoErrorFromErrno(error.value());
}

enum class OpenMode { Reading, Creating, Appending };

std::FILE* OpenFile(const std::filesystem::path& path, OpenMode mode) {
    static constexpr FileStep kSteps[] = {FileStep::OpenForReading, FileStep::Create,
                                          FileStep::OpenForAppending};
    FailIfInjected(kSteps[static_cast<int>(mode)], path);
    ClearFailureCause();
#ifdef _WIN32
    static constexpr const wchar_t* kModes[] = {L"rb", L"wb", L"ab"};
    std::FILE* file = _wfopen(path.c_str(), kModes[static_cast<int>(mode)]);
#else
    static constexpr const char* kModes[] = {"rb", "wb", "ab"};
    std::FILE* file = std::fopen(path.c_str(), kModes[static_cast<int>(mode)]);
#endif
    if (file) return file;
    // The mode is always valid: an open refused as invalid was refused for its name (one that the
    // file system cannot hold, or an empty one).
    if (errno == EINVAL && SystemFailureCode() == 0) throw IoError(io::kPathNotFound);
    throw LastFailure();
}

// Closes the file whatever happens; a failure of the close itself is reported.
void CloseFile(std::FILE* file, const std::filesystem::path& name) {
    const int injected = InjectedFileFault(FileStep::Close, name);  // the file closes anyway
    ClearFailureCause();
    if (std::fclose(file) != 0 && !injected) throw LastFailure();
    if (injected) throw IoErrorFromErrno(injected);
}

// The new file must be on the disk before it replaces the previous one; a file system that has
// nothing to sync (EINVAL) is no failure.
void SyncToDisk(std::FILE* file, const std::filesystem::path& name) {
    FailIfInjected(FileStep::Sync, name);
    ClearFailureCause();
#ifdef _WIN32
    const int result = _commit(_fileno(file));
#else
    const int result = fsync(fileno(file));
#endif
    if (result != 0 && errno != EINVAL) throw LastFailure();
}

}  // namespace

bool FileExists(const std::filesystem::path& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

InputFile::InputFile(const std::filesystem::path& path)
    : m_file(OpenFile(path, OpenMode::Reading)), m_path(path) {
    std::setvbuf(m_file, nullptr, _IONBF, 0);  // reads come in large chunks already
}

InputFile::~InputFile() {
    std::fclose(m_file);
}

std::size_t InputFile::Read(char* buffer, std::size_t size) {
    FailIfInjected(FileStep::Read, m_path);
    ClearFailureCause();
    const std::size_t got = std::fread(buffer, 1, size, m_file);
    if (got < size && std::ferror(m_file)) throw LastFailure();
    return got;
}

LineReader::LineReader(const std::filesystem::path& path, std::size_t chunkSize) : m_input(path, chunkSize) {}

bool ChunkedInput::ReadNext() {
    if (eof) return false;
    if (begin > 0) {
        std::memmove(buffer.data(), buffer.data() + begin, end - begin);
        end -= begin;
        begin = 0;
    }
    if (buffer.size() - end < chunkSize) buffer.resize(end + chunkSize);
    const std::size_t got = file.Read(buffer.data() + end, chunkSize);
    if (got == 0) {
        eof = true;
        return false;
    }
    end += got;
    return true;
}

bool LineReader::Next(std::string_view& line) {
    if (m_done) return false;
    // Find the end of the line: LF, Ctrl-Z, or the end of the file.
    std::size_t scanned = m_input.begin;
    std::size_t stop;
    for (;;) {
        const char* base = m_input.buffer.data();
        const std::size_t length = m_input.end - scanned;
        const auto* lf = static_cast<const char*>(std::memchr(base + scanned, '\n', length));
        const std::size_t before = lf ? static_cast<std::size_t>(lf - (base + scanned)) : length;
        const auto* eofMark = static_cast<const char*>(std::memchr(base + scanned, kCtrlZ, before));
        const char* first = eofMark ? eofMark : lf;
        if (first) {
            stop = static_cast<std::size_t>(first - base);
            break;
        }
        const std::size_t offset = scanned - m_input.begin;
        if (!m_input.ReadNext()) {
            stop = m_input.end;
            scanned = m_input.end;
            break;
        }
        scanned = m_input.begin + offset + length;
    }

    if (m_firstLine) {
        m_firstLine = false;
        if (m_skipBom && stop - m_input.begin >= 3 &&
            std::memcmp(m_input.buffer.data() + m_input.begin, "\xEF\xBB\xBF", 3) == 0) {
            m_hadBom = true;
            m_input.begin += 3;
        }
    }

    const bool atEndOfFile = stop == m_input.end;
    const char terminator = atEndOfFile ? '\0' : m_input.buffer[stop];
    if (atEndOfFile && m_input.begin == m_input.end) {  // nothing after the last line end
        m_done = true;
        return false;
    }
    if (terminator == kCtrlZ && stop == m_input.begin) {  // Ctrl-Z at the start of a line ends the file
        m_done = true;
        return false;
    }

    std::string_view raw(m_input.buffer.data() + m_input.begin, stop - m_input.begin);
    m_lastLineEnd = {};
    if (terminator == '\n') {
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
            m_lastLineEnd = "\r\n";
        } else {
            m_lastLineEnd = "\n";
        }
    }

    // A CR inside the line does not end it and is dropped.
    if (raw.find('\r') != std::string_view::npos) {
        m_cleaned.clear();
        for (char c : raw)
            if (c != '\r') m_cleaned += c;
        line = m_cleaned;
    } else {
        line = raw;
    }

    if (atEndOfFile) {
        m_input.begin = m_input.end;
        m_done = true;
    } else if (terminator == '\n') {
        m_input.begin = stop + 1;
    } else {
        // Ctrl-Z: skip the rest of this line, up to and including its LF. Reading on moves the
        // buffer's bytes and may reallocate it, so the line returned moves to a copy of its own.
        if (line.data() != m_cleaned.data()) {
            m_cleaned.assign(line);
            line = m_cleaned;
        }
        m_input.begin = stop;
        for (;;) {
            const void* lf =
                std::memchr(m_input.buffer.data() + m_input.begin, '\n', m_input.end - m_input.begin);
            if (lf) {
                m_input.begin =
                    static_cast<std::size_t>(static_cast<const char*>(lf) - m_input.buffer.data()) + 1;
                break;
            }
            m_input.begin = m_input.end;
            if (!m_input.ReadNext()) {
                m_done = true;
                break;
            }
        }
    }
    return true;
}

ReplacingFileWriter::ReplacingFileWriter(const std::filesystem::path& target) : m_target(target) {
    m_temporary = target;
    m_temporary += ".kanaroll-new";
    m_file = OpenFile(m_temporary, OpenMode::Creating);
}

ReplacingFileWriter::~ReplacingFileWriter() {
    if (m_file) std::fclose(m_file);
    if (!m_committed && !InjectedFileFault(FileStep::RemoveTemporary, m_temporary)) {
        std::error_code ignored;
        std::filesystem::remove(m_temporary, ignored);
    }
}

void ReplacingFileWriter::Write(std::string_view bytes) {
    m_pending.append(bytes);
    if (m_pending.size() >= (1 << 20)) Flush();
}

void ReplacingFileWriter::WriteField(std::string_view text) {
    AppendField(m_pending, text);
    if (m_pending.size() >= (1 << 20)) Flush();
}

void ReplacingFileWriter::Flush() {
    if (m_pending.empty()) return;
    if (!m_file) throw IoErrorFromErrno(EIO);  // closed already
    FailIfInjected(FileStep::Write, m_temporary);
    ClearFailureCause();
    const std::size_t written = std::fwrite(m_pending.data(), 1, m_pending.size(), m_file);
    if (written != m_pending.size()) throw LastFailure();
    m_pending.clear();
}

void ReplacingFileWriter::Commit() {
    if (!m_closed) Close();
    RenameFile(m_temporary, m_target);
    m_committed = true;
}

void ReplacingFileWriter::Close() {
    if (!m_file) throw IoErrorFromErrno(EIO);  // a close that failed before: the file is not whole
    Flush();
    FailIfInjected(FileStep::Flush, m_temporary);
    ClearFailureCause();
    if (std::fflush(m_file) != 0) throw LastFailure();
    SyncToDisk(m_file, m_temporary);
    std::FILE* file = m_file;
    m_file = nullptr;
    CloseFile(file, m_temporary);
    m_closed = true;
}

AppendingFile::AppendingFile(const std::filesystem::path& path)
    : m_file(OpenFile(path, OpenMode::Appending)), m_path(path) {
    // Without a buffer of the C library, each Append is one write to the system.
    std::setvbuf(m_file, nullptr, _IONBF, 0);
}

AppendingFile::~AppendingFile() {
    if (m_file) std::fclose(m_file);
}

void AppendingFile::Append(std::string_view bytes) {
    FailIfInjected(FileStep::Write, m_path);
    ClearFailureCause();
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), m_file);
    if (written != bytes.size()) throw LastFailure();
}

void AppendingFile::Sync() {
    SyncToDisk(m_file, m_path);
}

void AppendingFile::Close() {
    std::FILE* file = m_file;
    m_file = nullptr;
    if (file) CloseFile(file, m_path);
}

void RemoveFile(const std::filesystem::path& path) {
    FailIfInjected(FileStep::Remove, path);
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error) throw FailureOf(error);
}

void RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    FailIfInjected(FileStep::Rename, from);
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (error) throw FailureOf(error);
}

LineWriter::LineWriter(const std::filesystem::path& target, LineEndStyle style)
    : m_writer(target), m_style(style) {}

void LineWriter::BeginLine() {
    // The line end of the previous line is written only once another line follows, so that the
    // last one can go without it.
    if (m_anyLine) m_writer.Write(m_style.lineEnd);
    m_anyLine = true;
}

void LineWriter::WriteLine(std::string_view line) {
    BeginLine();
    m_writer.Write(line);
}

void LineWriter::WriteFields(std::initializer_list<std::string_view> fields) {
    BeginLine();
    bool first = true;
    for (std::string_view field : fields) {
        if (!first) m_writer.Write("\t");
        m_writer.WriteField(field);
        first = false;
    }
}

void LineWriter::Commit() {
    if (m_anyLine && m_style.finalLineEnd) m_writer.Write(m_style.lineEnd);
    m_writer.Commit();
}

}  // namespace kanaroll
