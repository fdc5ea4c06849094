#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/TextFile.h"

// MAME's -listxml output on its way into listinfo.txt. The output goes into a temporary file beside
// listinfo.txt as it arrives and is judged on the way: it must begin as XML, hold no NUL byte, stay
// below a size limit and end with its root element's end tag; MAME must end with success. Only a
// good output may then be put in place of listinfo.txt, and the previous file stays byte for byte in
// every other case.
//
// Take() and Received() may be called from a thread that reads MAME's output, while the window's
// thread asks for Received(); everything else belongs to the thread that made the capture, once the
// reading has ended.
namespace kanaroll {

// The largest output taken: four times what MAME 0.251 prints (269 MB for 45,294 machines). MAME's
// output has grown by about an eighth a year, so this lasts a decade; a stream that runs past it
// (a MAME gone wrong, or no MAME at all) ends with a message instead of filling the disk.
constexpr std::uint64_t kMaxListXmlBytes = std::uint64_t{1} << 30;

// How the program that printed the output ended.
struct OutputEnd {
    bool cancelled = false;  // the user stopped it
    std::uint32_t exitCode = 0;
    int readError = 0;  // the I/O error number of a read of the output that failed; 0: none
};

enum class ListXmlProblem {
    None,
    Cancelled,
    WriteFailed,  // the temporary file could not be written (a full disk): ioError tells why
    NulByte,
    TooLarge,
    ReadFailed,  // MAME's output could not be read: ioError tells why
    MameFailed,  // MAME ended with an exit code other than 0
    Empty,
    NotXml,
    Truncated,  // the root element's end tag is missing
};

struct ListXmlVerdict {
    ListXmlProblem problem = ListXmlProblem::None;
    std::uint32_t exitCode = 0;  // MameFailed
    int ioError = 0;             // WriteFailed, ReadFailed: the I/O error number
    std::uint64_t bytes = 0;     // what arrived
    std::uint64_t limit = 0;     // TooLarge: the limit it ran past

    bool Good() const { return problem == ListXmlProblem::None; }
    // What the window tells the user, in UTF-8; empty for a good output.
    std::string Message() const;
};

class ListXmlCapture {
public:
    // Creates the temporary file beside `listInfo`; throws IoError when it cannot.
    explicit ListXmlCapture(const std::filesystem::path& listInfo, std::uint64_t limit = kMaxListXmlBytes);
    ListXmlCapture(const ListXmlCapture&) = delete;
    ListXmlCapture& operator=(const ListXmlCapture&) = delete;

    // The next bytes of the output. False once the output must not go on (a NUL byte, the size
    // limit, a failed write): the reader stops MAME then.
    bool Take(std::string_view bytes);
    // The bytes that have arrived so far.
    std::uint64_t Received() const { return m_received.load(std::memory_order_relaxed); }

    // Once the output has ended: judges it, and for a good output writes the temporary file whole
    // onto the disk and closes it, so that it can be loaded. A bad output's file is removed. Later
    // calls give the first verdict again.
    ListXmlVerdict Judge(const OutputEnd& end);
    bool Judged() const { return m_verdict.has_value(); }

    // The temporary file, to load the catalogue from before it is put in place.
    const std::filesystem::path& TemporaryFile() const { return m_temporary; }
    // Puts a good output in place of listinfo.txt. Throws IoError, and the previous file stays.
    void PutInPlace();

private:
    bool Stop(ListXmlProblem problem);
    void KeepTail(std::string_view bytes);
    bool WholeXml(const std::string& root) const;

    std::optional<ReplacingFileWriter> m_file;  // gone once a bad output's file is removed
    std::filesystem::path m_temporary;
    std::uint64_t m_limit;
    std::atomic<std::uint64_t> m_received{0};
    ListXmlProblem m_stopped = ListXmlProblem::None;  // why Take refused more
    int m_writeError = 0;
    std::string m_head;       // the first bytes, up to the root element's start tag
    std::string m_tail;       // the last bytes
    std::string m_tailWhole;  // the last bytes up to the last one that is no blank
    bool m_good = false;      // judged good and not yet put in place
    std::optional<ListXmlVerdict> m_verdict;
};

// The name of the root element of XML that begins with `head`, after its byte-order mark, XML
// declaration, comments, processing instructions and document type; empty when `head` does not
// begin as -listxml output (see IsListXml) or ends before the root's start tag.
std::string ListXmlRootName(std::string_view head);

}  // namespace kanaroll
