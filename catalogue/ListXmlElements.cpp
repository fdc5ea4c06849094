#include "catalogue/ListXmlElements.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "catalogue/MarkupStops.h"

namespace kanaroll {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Bytes that cannot stand in a tag name. Anything else may: the parser of the element judges the
// names inside it, and only the root's children are named here.
bool IsNameByte(char c) {
    switch (c) {
        case ' ':
        case '\t':
        case '\r':
        case '\n':
        case '<':
        case '>':
        case '/':
        case '=':
        case '&':
        case '"':
        case '\'':
        case '!':
        case '?':
            return false;
        default:
            return true;
    }
}

// The bytes that end an element's name for the parser that gets the element: blanks, "/", ">", "?"
// and NUL.
constexpr auto kNameEnds = [] {
    std::array<bool, 256> ends{};
    for (const unsigned char c : {' ', '\t', '\r', '\n', '/', '>', '?', '\0'}) ends[c] = true;
    return ends;
}();

bool EndsParsedName(char c) {
    return kNameEnds[static_cast<unsigned char>(c)];
}

// Whether the quote at `at`, in a start tag whose name ends at `nameEnd`, opens an attribute value.
// For the parser it does only after "=" and blanks: anywhere else it belongs to a name, and a scan
// that took it for a value would find the tag's end where the parser does not.
bool OpensValue(const char* data, std::size_t nameEnd, std::size_t at) {
    std::size_t before = at;
    while (before > nameEnd && IsBlank(data[before - 1])) --before;
    return before > nameEnd && data[before - 1] == '=';
}

// A digit of a character reference as the parser takes it: hexadecimal letters count in decimal
// references too.
int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Whether `bytes` begins with `name`. Names are a few bytes long: a loop beats a call to memcmp.
bool SameBytes(const char* bytes, std::string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i)
        if (bytes[i] != name[i]) return false;
    return true;
}

constexpr const char* kNulByte = "a NUL byte in an element of listinfo.txt";
constexpr const char* kNameless = "a tag without a name in listinfo.txt";

enum class Prefix { Whole, Partly, No };

// Whether `text` begins with `word`, or could once more bytes are read.
Prefix BeginsWith(std::string_view text, std::string_view word) {
    if (text.size() >= word.size()) return text.substr(0, word.size()) == word ? Prefix::Whole : Prefix::No;
    return word.substr(0, text.size()) == text ? Prefix::Partly : Prefix::No;
}

}  // namespace

ListXmlElements::ListXmlElements(const std::filesystem::path& file, std::size_t chunkSize,
                                 std::size_t maxElementSize)
    : ListXmlElements(file, Selection{}, chunkSize, maxElementSize) {}

ListXmlElements::ListXmlElements(const std::filesystem::path& file, Selection selection,
                                 std::size_t chunkSize, std::size_t maxElementSize)
    : m_file(file),
      m_chunkSize(std::max<std::size_t>(chunkSize, 1)),
      m_maxElementSize(maxElementSize),
      m_selection(selection) {
    if (selection.children.size() > 64) throw std::invalid_argument("too many children selected");
    for (std::size_t i = 0; i < selection.children.size(); ++i) {
        const std::string_view name = selection.children[i];
        if (!name.empty())
            m_childrenByFirstByte[static_cast<unsigned char>(name[0])] |= std::uint64_t{1} << i;
    }
}

bool ListXmlElements::Fill(std::size_t keep) {
    if (m_eof) return false;
    if (keep > 0) {
        if (m_end > keep) std::memmove(m_buffer.data(), m_buffer.data() + keep, m_end - keep);
        m_end -= keep;
        m_pos -= keep;
        if (m_place == Place::Element) m_elementStart -= keep;
    }
    if (m_end > m_maxElementSize) throw XmlFormatError("an element of listinfo.txt is too large");
    if (m_buffer.size() < m_end + m_chunkSize) m_buffer.resize(m_end + m_chunkSize);
    const std::size_t read = m_file.Read(m_buffer.data() + m_end, m_chunkSize);
    if (read == 0) {
        m_eof = true;
        return false;
    }
    m_end += read;
    return true;
}

void ListXmlElements::SkipByteOrderMark() {
    while (m_end < 3 && Fill(0)) {
    }
    if (m_end >= 3 && std::memcmp(m_buffer.data(), "\xEF\xBB\xBF", 3) == 0) m_pos = 3;
}

void ListXmlElements::EndedEarly() const {
    if (m_place == Place::Prolog) throw XmlFormatError("listinfo.txt holds no XML element");
    throw XmlTruncatedError("listinfo.txt ends before its root element does");
}

std::size_t ListXmlElements::FindEnd(std::size_t from, std::string_view terminator) const {
    if (from >= m_end) return 0;
    const std::string_view rest(m_buffer.data() + from, m_end - from);
    const auto found = rest.find(terminator);
    return found == std::string_view::npos ? 0 : from + found + terminator.size();
}

std::string_view ListXmlElements::NameAt(std::size_t at) const {
    const char* data = m_buffer.data();
    std::size_t end = at + 1;
    while (end < m_end && IsNameByte(data[end])) ++end;
    return {data + at + 1, end - at - 1};
}

bool ListXmlElements::ScanDoctype(std::size_t at, Token& token) const {
    const char* data = m_buffer.data();
    bool inSubset = false;
    for (std::size_t i = at + 9; i < m_end; ++i) {
        const char c = data[i];
        if (c == '"' || c == '\'') {
            // A literal: a system or public id, or an entity value or default in the subset.
            if (i + 1 >= m_end) return false;
            const void* close = std::memchr(data + i + 1, c, m_end - i - 1);
            if (!close) return false;
            i = static_cast<std::size_t>(static_cast<const char*>(close) - data);
        } else if (inSubset) {
            if (c == ']') {
                inSubset = false;
            } else if (c == '<') {
                const std::string_view rest(data + i, m_end - i);
                const Prefix comment = BeginsWith(rest, "<!--");
                const Prefix instruction = BeginsWith(rest, "<?");
                if (comment == Prefix::Partly) return false;
                std::size_t end = 0;
                if (comment == Prefix::Whole) {
                    end = FindEnd(i + 4, "-->");
                } else if (instruction == Prefix::Whole) {
                    end = FindEnd(i + 2, "?>");
                } else {
                    continue;  // a declaration: its quotes are passed over as they come
                }
                if (end == 0) return false;
                i = end - 1;
            }
        } else if (c == '[') {
            inSubset = true;
        } else if (c == '>') {
            token.kind = Kind::Doctype;
            token.end = i + 1;
            return true;
        }
    }
    return false;
}

bool ListXmlElements::ScanToken(std::size_t at, Token& token) const {
    const char* data = m_buffer.data();
    if (at + 1 >= m_end) return false;
    const char next = data[at + 1];
    if (next == '?') {
        token.kind = Kind::ProcessingInstruction;
        token.end = FindEnd(at + 2, "?>");
        return token.end != 0;
    }
    if (next == '/') {
        token.kind = Kind::EndTag;
        token.end = FindEnd(at + 2, ">");
        return token.end != 0;
    }
    if (next == '!') {
        const std::string_view rest(data + at, m_end - at);
        const Prefix comment = BeginsWith(rest, "<!--");
        const Prefix cdata = BeginsWith(rest, "<![CDATA[");
        const Prefix doctype = BeginsWith(rest, "<!DOCTYPE");
        if (comment == Prefix::Whole) {
            token.kind = Kind::Comment;
            token.end = FindEnd(at + 4, "-->");
            return token.end != 0;
        }
        if (cdata == Prefix::Whole) {
            token.kind = Kind::CData;
            token.end = FindEnd(at + 9, "]]>");
            return token.end != 0;
        }
        if (doctype == Prefix::Whole) return ScanDoctype(at, token);
        if (comment == Prefix::Partly || cdata == Prefix::Partly || doctype == Prefix::Partly) return false;
        throw XmlFormatError("unknown markup in listinfo.txt");
    }

    // A start tag: a name, then attributes up to ">", whose quoted values may hold any byte.
    std::size_t i = at + 1;
    while (i < m_end && IsNameByte(data[i])) ++i;
    if (i == at + 1 && i < m_end) throw XmlFormatError("a tag without a name in listinfo.txt");
    if (i < m_end && data[i] != '/' && data[i] != '>' && !IsBlank(data[i]))
        throw XmlFormatError("a bad tag name in listinfo.txt");
    for (; i < m_end; ++i) {
        const char c = data[i];
        if (c == '>') {
            token.kind = data[i - 1] == '/' ? Kind::EmptyTag : Kind::StartTag;
            token.end = i + 1;
            return true;
        }
        if (c == '"' || c == '\'') {
            if (i + 1 >= m_end) return false;
            const void* close = std::memchr(data + i + 1, c, m_end - i - 1);
            if (!close) return false;
            i = static_cast<std::size_t>(static_cast<const char*>(close) - data);
        } else if (c == '<') {
            throw XmlFormatError("a tag that does not end in listinfo.txt");
        }
    }
    return false;
}

void ListXmlElements::Fault(const char* what) {
    if (!m_fault) m_fault = what;
}

std::size_t ListXmlElements::CheckReference(std::size_t at) {
    const char* data = m_buffer.data();
    if (at + 1 >= m_end) return 0;
    if (data[at + 1] != '#') return at + 1;  // a named entity is decoded or kept as it stands
    std::size_t i = at + 2;
    if (i >= m_end) return 0;
    const bool hex = data[i] == 'x';
    if (hex) ++i;
    // The parser's own arithmetic, wrapping around where it wraps.
    unsigned long code = 0;
    for (;; ++i) {
        if (i >= m_end) return 0;
        const int digit = DigitValue(data[i]);
        if (digit < 0) break;
        code = code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
    }
    if (code >= 0x110000 || data[i] != ';')
        Fault("a character reference in listinfo.txt that is no character");
    return data[i] == ';' ? i + 1 : i;
}

bool ListXmlElements::IsSelected(std::string_view name, std::span<const std::string_view> names) const {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::size_t ListXmlElements::CheckRareByte(std::size_t at) {
    if (m_buffer[at] != '\0') return CheckReference(at);
    Fault(kNulByte);
    return at + 1;
}

void ListXmlElements::TakeStartTag(std::size_t at, std::size_t close, bool empty) {
    const char* data = m_buffer.data();
    if (EndsParsedName(data[at + 1])) Fault(kNameless);
    if (m_depth == 1) {
        // A child of the element: is it one the reader uses? The tag's ">" ends any name.
        bool kept = false;
        for (std::uint64_t candidates = m_childrenByFirstByte[static_cast<unsigned char>(data[at + 1])];
             candidates != 0 && !kept; candidates &= candidates - 1) {
            const std::string_view name = m_selection.children[std::countr_zero(candidates)];
            kept = at + 1 + name.size() <= close && EndsParsedName(data[at + 1 + name.size()]) &&
                   SameBytes(data + at + 1, name);
        }
        if (!empty) {
            m_childStart = at - m_elementStart;
            m_childKept = kept;
        } else if (kept) {
            m_kept.push_back({at - m_elementStart, close + 1 - at});
        }
    }
    if (!empty) {
        std::size_t nameEnd = at + 1;
        while (!EndsParsedName(data[nameEnd])) ++nameEnd;
        m_open.push_back({at + 1 - m_elementStart, nameEnd - at - 1});
    }
}

bool ListXmlElements::ClosesOpenElement(std::size_t at, std::size_t close) const {
    // The name, as the parser reads it, must be the one of the element it closes, and only blanks
    // may follow it.
    const char* data = m_buffer.data();
    const Piece open = m_open.back();
    const std::size_t name = at + 2;
    if (name + open.size > close || !SameBytes(data + name, {data + m_elementStart + open.offset, open.size}))
        return false;
    return std::all_of(data + name + open.size, data + close, IsBlank);
}

std::size_t ListXmlElements::ScanOtherMarkup(std::size_t at) {
    Token token;
    if (!ScanToken(at, token)) return 0;
    if (token.kind == Kind::Doctype) throw XmlFormatError("a DOCTYPE inside an element of listinfo.txt");
    if (m_selected && std::memchr(m_buffer.data() + at, '\0', token.end - at)) Fault(kNulByte);
    return token.end;
}

// One loop over the stops of the element, so that the stop finder stays in registers: this is
// where the time of reading a catalogue goes.
bool ListXmlElements::ScanElement() {
    const char* data = m_buffer.data();
    const std::size_t end = m_end;
    const bool selected = m_selected;
    MarkupStops stops(data, end, m_pos);
    // Leaves the element unfinished; the markup from `at` on is scanned again once more is read.
    const auto incomplete = [this](std::size_t at) {
        m_pos = at;
        return false;
    };
    for (;;) {
        const std::size_t at = stops.Next();
        if (at == end) return incomplete(end);
        const char c = data[at];
        if (c != '<') {
            // Text: ">" and quotes in it mean nothing, but the parser decodes references.
            if (!selected || (c != '\0' && c != '&')) continue;
            const std::size_t after = CheckRareByte(at);
            if (after == 0) return incomplete(at);
            stops.SkipTo(after);
            continue;
        }
        if (at + 1 == end) return incomplete(at);
        const char next = data[at + 1];
        if (next == '!' || next == '?') {
            const std::size_t after = ScanOtherMarkup(at);
            if (after == 0) return incomplete(at);
            stops.SkipTo(after);
        } else if (next == '/') {
            // The first ">" ends it, as it ends it for the parser.
            std::size_t close = 0;
            while (close == 0) {
                const std::size_t stop = stops.Next();
                if (stop == end) return incomplete(at);
                if (data[stop] == '>') close = stop;
            }
            if (selected) {
                if (!ClosesOpenElement(at, close))
                    Fault("an end tag in listinfo.txt that does not close its element");
                m_open.pop_back();
            }
            if (--m_depth == 0) {
                m_endTagStart = at - m_elementStart;
                m_pos = close + 1;
                return true;
            }
            if (m_depth == 1 && selected && m_childKept) {
                m_kept.push_back({m_childStart, close + 1 - m_elementStart - m_childStart});
            }
        } else {
            // A start tag: a name, then attributes up to ">", whose quoted values may hold any byte.
            // The name runs to what ends it for the parser; a quote or "&" in it is a byte of it.
            std::size_t nameEnd = at + 1;
            while (nameEnd < end && !EndsParsedName(data[nameEnd])) {
                if (data[nameEnd] == '<') throw XmlFormatError("a tag that does not end in listinfo.txt");
                ++nameEnd;
            }
            if (nameEnd == end) return incomplete(at);
            stops.SkipTo(nameEnd);
            std::size_t close = 0;
            while (close == 0) {
                const std::size_t stop = stops.Next();
                if (stop == end) return incomplete(at);
                const char t = data[stop];
                if (t == '>') {
                    close = stop;
                } else if ((t == '"' || t == '\'') && OpensValue(data, nameEnd, stop)) {
                    for (;;) {
                        const std::size_t inside = stops.Next();
                        if (inside == end) return incomplete(at);
                        const char v = data[inside];
                        if (v == t) break;
                        if (!selected || (v != '\0' && v != '&')) continue;
                        const std::size_t after = CheckRareByte(inside);
                        if (after == 0) return incomplete(at);
                        stops.SkipTo(after);
                    }
                } else if (t == '<') {
                    throw XmlFormatError("a tag that does not end in listinfo.txt");
                } else if (t == '\0' && selected) {
                    Fault(kNulByte);
                }
            }
            const bool empty = data[close - 1] == '/';
            if (selected) {
                const char first = data[at + 1];
                if (!empty ||
                    (m_depth == 1 && m_childrenByFirstByte[static_cast<unsigned char>(first)] != 0)) {
                    TakeStartTag(at, close, empty);
                } else if (EndsParsedName(first)) {
                    Fault(kNameless);
                }
            }
            // The parser of the element recurses once per level.
            if (!empty && ++m_depth > kMaxDepth)
                throw XmlFormatError("elements of listinfo.txt nest too deeply");
        }
    }
}

std::string_view ListXmlElements::Condensed() {
    const char* start = m_buffer.data() + m_elementStart;
    m_condensed.assign(start, m_startTagEnd);
    for (const Piece& piece : m_kept) m_condensed.append(start + piece.offset, piece.size);
    m_condensed.append(start + m_endTagStart, m_pos - m_elementStart - m_endTagStart);
    return m_condensed;
}

bool ListXmlElements::Next(std::string_view& name, std::string_view& element) {
    if (!m_startChecked) {
        SkipByteOrderMark();
        m_startChecked = true;
    }
    while (m_place != Place::Done) {
        if (m_place == Place::Element) {
            if (ScanElement()) {
                // Found while the element was scanned, told once it is whole: in a file cut short
                // the element is not there to refuse.
                if (m_fault) throw XmlFormatError(m_fault);
                m_place = Place::Root;
                name = NameAt(m_elementStart);
                element = m_selected
                              ? Condensed()
                              : std::string_view(m_buffer.data() + m_elementStart, m_pos - m_elementStart);
                return true;
            }
            if (!Fill(m_elementStart)) EndedEarly();
            continue;
        }
        const char* data = m_buffer.data();
        // The text up to the next markup: only blanks may come before the root, and whatever
        // stands between the root's children is passed over.
        const void* found = m_pos < m_end ? std::memchr(data + m_pos, '<', m_end - m_pos) : nullptr;
        const std::size_t textEnd =
            found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : m_end;
        if (m_place == Place::Prolog && !std::all_of(data + m_pos, data + textEnd, IsBlank))
            throw XmlFormatError("text before the root element of listinfo.txt");
        m_pos = textEnd;
        Token token;
        if (!found || !ScanToken(m_pos, token)) {
            if (!Fill(m_pos)) EndedEarly();
            continue;
        }
        const std::size_t at = m_pos;
        m_pos = token.end;
        if (m_place == Place::Prolog) {
            if (token.kind == Kind::StartTag) {
                m_place = Place::Root;
            } else if (token.kind == Kind::EmptyTag) {
                m_place = Place::Done;  // a root without children
            } else if (token.kind == Kind::EndTag || token.kind == Kind::CData) {
                throw XmlFormatError("markup before the root element of listinfo.txt");
            }
        } else if (token.kind == Kind::StartTag) {
            m_elementStart = at;
            m_depth = 1;
            m_place = Place::Element;
            const std::string_view elementName = NameAt(at);
            m_selected = IsSelected(elementName, m_selection.elements);
            m_fault = nullptr;
            if (m_selected) {
                m_open.assign(1, {1, elementName.size()});
                m_kept.clear();
                m_startTagEnd = token.end - at;
            }
        } else if (token.kind == Kind::EmptyTag) {
            name = NameAt(at);
            element = {data + at, token.end - at};
            return true;
        } else if (token.kind == Kind::EndTag) {
            m_place = Place::Done;
        } else if (token.kind == Kind::Doctype) {
            throw XmlFormatError("a DOCTYPE inside the root element of listinfo.txt");
        }
    }
    return false;
}

}  // namespace kanaroll
