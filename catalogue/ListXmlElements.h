#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/TextFile.h"

namespace kanaroll {

// An XML document that is not well-formed as far as the reader can tell, or that ends early.
class XmlFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file ended inside its root element: MAME was stopped while it wrote, or the disk filled up.
// What came before the cut is whole.
class XmlTruncatedError : public XmlFormatError {
public:
    using XmlFormatError::XmlFormatError;
};

// Reads an XML document in chunks and hands out the child elements of its root one at a time, each
// as its bytes from the "<" of its start tag to the ">" of its end tag, so that memory holds one
// element and one chunk, whatever the size of the file.
//
// It looks at the markup only as far as finding those bounds needs: the prolog (XML declaration,
// comments, processing instructions, the DOCTYPE with its internal subset) is passed over, and so
// are the root's own tags; inside an element it counts start and end tags, and passes over quoted
// attribute values, comments, CDATA sections and processing instructions whole, so that a ">" or
// "<" inside them counts for nothing. Names of end tags are not matched against their start tags:
// the parser that gets the element does that.
//
// A reader that uses only some children of the elements it parses names them in a Selection. The
// children it does not name are then left out of what it gets, unparsed: most of today's MAME
// catalogue (ROMs, DIP switches, ports, slots, devices). What is left out is still checked, once the
// element is whole, for most of what would have made the parser refuse the element: its markup as
// above, every end tag against the start tag it closes, every character reference ("&#...;") and
// NUL bytes. Its attributes are not parsed, so a malformed attribute inside a left-out child is not
// noticed. A file that ends inside a left-out child ends early as it would anywhere else.
class ListXmlElements {
public:
    static constexpr std::size_t kDefaultChunkSize = std::size_t{1} << 20;
    // No element of MAME's catalogue comes near this; a larger one is taken for a broken file
    // rather than held in memory.
    static constexpr std::size_t kDefaultMaxElementSize = std::size_t{32} << 20;
    // Levels of elements inside the root, the root's child counting as one. MAME nests four at
    // most; the parser of an element recurses once per level, so a deeper element is refused.
    static constexpr std::size_t kMaxDepth = 256;

    // Which children of the root the reader parses, and which of their children (64 at most) it uses.
    struct Selection {
        std::span<const std::string_view> elements;
        std::span<const std::string_view> children;
    };

    explicit ListXmlElements(const std::filesystem::path& file, std::size_t chunkSize = kDefaultChunkSize,
                             std::size_t maxElementSize = kDefaultMaxElementSize);
    // An element named in `selection.elements` comes with only its start tag, the children named in
    // `selection.children` in their order, and its end tag; other elements come whole. The names
    // must stay valid while this object lives.
    ListXmlElements(const std::filesystem::path& file, Selection selection,
                    std::size_t chunkSize = kDefaultChunkSize,
                    std::size_t maxElementSize = kDefaultMaxElementSize);

    // The next child element of the root: its name and its bytes, both valid until the next call.
    // False once the root has ended; what follows the root is not read. Throws XmlFormatError when
    // the document is malformed, ends before its root does, holds a piece of markup larger than the
    // limit or elements nested deeper than kMaxDepth; IoError when reading fails.
    bool Next(std::string_view& name, std::string_view& element);

private:
    enum class Place { Prolog, Root, Element, Done };
    enum class Kind { StartTag, EmptyTag, EndTag, Comment, ProcessingInstruction, CData, Doctype };

    struct Token {
        Kind kind = Kind::StartTag;
        std::size_t end = 0;  // offset just past the token's ">"
    };

    // Scans the markup that begins with the "<" at `at`. False when the bytes read so far end
    // inside it; throws XmlFormatError when it cannot be markup.
    bool ScanToken(std::size_t at, Token& token) const;
    // Walks the element being read from m_pos on, counting its start and end tags. True once its
    // end tag is passed, with m_pos just behind it; false when the bytes read so far end inside it,
    // with m_pos on the markup that is not complete.
    bool ScanElement();
    // The parts of ScanElement that run for a selected element only, or for rare bytes. Each takes
    // markup or a byte that is whole in the buffer unless it says otherwise. What the parser would
    // refuse is recorded by Fault and refused once the element is whole.
    //
    // The start tag from `at` to the ">" at `close`: its name, the child it begins.
    void TakeStartTag(std::size_t at, std::size_t close, bool empty);
    // Whether the end tag from `at` to the ">" at `close` closes the open element as the parser
    // wants it to.
    bool ClosesOpenElement(std::size_t at, std::size_t close) const;
    // A NUL or "&" inside text or a value: the offset to go on from, 0 when the bytes read so far
    // end inside a reference.
    std::size_t CheckRareByte(std::size_t at);
    // A comment, CDATA section or processing instruction: the offset just past it, 0 when the bytes
    // read so far end inside it.
    std::size_t ScanOtherMarkup(std::size_t at);
    // The offset just past the reference that begins with the "&" at `at` when it is a character
    // reference, else just past the "&"; 0 when the bytes read so far end inside it.
    std::size_t CheckReference(std::size_t at);
    // Remembers the first thing of the element that the parser would refuse.
    void Fault(const char* what);
    bool IsSelected(std::string_view name, std::span<const std::string_view> names) const;
    // The element without the children left out, in m_condensed.
    std::string_view Condensed();
    bool ScanDoctype(std::size_t at, Token& token) const;
    // Offset just past `terminator`, searched for from `from`; 0 when the bytes read so far hold
    // none.
    std::size_t FindEnd(std::size_t from, std::string_view terminator) const;
    std::string_view NameAt(std::size_t at) const;

    // Reads the next chunk, keeping the bytes from `keep` on (they move to the start of the buffer
    // and every offset moves with them). False at the end of the file.
    bool Fill(std::size_t keep);
    // Skips a UTF-8 byte-order mark at the start of the file.
    void SkipByteOrderMark();
    [[noreturn]] void EndedEarly() const;

    InputFile m_file;
    std::size_t m_chunkSize;
    std::size_t m_maxElementSize;
    std::vector<char> m_buffer;
    std::size_t m_end = 0;  // bytes of the buffer that hold data
    std::size_t m_pos = 0;  // the next byte to look at
    bool m_eof = false;
    bool m_startChecked = false;
    Place m_place = Place::Prolog;
    std::size_t m_elementStart = 0;
    std::size_t m_depth = 0;

    // A piece of the element being read: offsets from its start, which stay valid when the buffer
    // moves.
    struct Piece {
        std::size_t offset = 0;
        std::size_t size = 0;
    };
    Selection m_selection;
    // For each byte, the selected children whose names begin with it (bit i: children[i]).
    std::array<std::uint64_t, 256> m_childrenByFirstByte{};
    bool m_selected = false;        // the element being read is one the reader parses
    std::vector<Piece> m_open;      // the names of its elements not closed yet, itself first
    std::vector<Piece> m_kept;      // its children that the reader uses
    std::size_t m_startTagEnd = 0;  // offsets from its start
    std::size_t m_endTagStart = 0;
    std::size_t m_childStart = 0;
    bool m_childKept = false;
    const char* m_fault = nullptr;  // the first fault found in it
    std::string m_condensed;
};

}  // namespace kanaroll
