#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
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
class ListXmlElements {
public:
    static constexpr std::size_t kDefaultChunkSize = std::size_t{1} << 20;
    // No element of MAME's catalogue comes near this; a larger one is taken for a broken file
    // rather than held in memory.
    static constexpr std::size_t kDefaultMaxElementSize = std::size_t{32} << 20;
    // Levels of elements inside the root, the root's child counting as one. MAME nests four at
    // most; the parser of an element recurses once per level, so a deeper element is refused.
    static constexpr std::size_t kMaxDepth = 256;

    explicit ListXmlElements(const std::filesystem::path& file, std::size_t chunkSize = kDefaultChunkSize,
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
};

}  // namespace kanaroll
