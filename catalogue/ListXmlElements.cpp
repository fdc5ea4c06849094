#include "catalogue/ListXmlElements.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The bytes that matter inside a start tag: its end, a quote that opens a value, and a "<" that
// shows the tag never ended.
constexpr auto kTagStops = [] {
    std::array<bool, 256> stops{};
    for (unsigned char c : {'>', '"', '\'', '<'}) stops[c] = true;
    return stops;
}();

// Finds those bytes. Elements are mostly tags with short attribute values, so where the processor
// allows, sixteen bytes are looked at together and the positions found in them are handed out one
// by one.
class TagStops {
public:
    TagStops(const char* data, std::size_t end) : m_data(data), m_end(end) {}

    // The offset of the first stop at or after `at`, or the end.
    std::size_t Next(std::size_t at) {
#if defined(__SSE2__)
        if (at >= m_block && at - m_block < 16) {
            const unsigned mask = m_mask & (~0u << (at - m_block));
            if (mask != 0) return m_block + static_cast<std::size_t>(std::countr_zero(mask));
            at = m_block + 16;
        }
        for (; at + 16 <= m_end; at += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_data + at));
            const __m128i stops = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('<')),
                                                            _mm_cmpeq_epi8(bytes, _mm_set1_epi8('>'))),
                                               _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('"')),
                                                            _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\''))));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(stops));
            if (mask != 0) {
                m_block = at;
                m_mask = mask;
                return at + static_cast<std::size_t>(std::countr_zero(mask));
            }
        }
#endif
        while (at < m_end && !kTagStops[static_cast<unsigned char>(m_data[at])]) ++at;
        return at;
    }

private:
    const char* m_data;
    std::size_t m_end;
#if defined(__SSE2__)
    std::size_t m_block = static_cast<std::size_t>(-1);  // the sixteen bytes last looked at
    unsigned m_mask = 0;                                 // and the stops among them
#endif
};

enum class Prefix { Whole, Partly, No };

// Whether `text` begins with `word`, or could once more bytes are read.
Prefix BeginsWith(std::string_view text, std::string_view word) {
    if (text.size() >= word.size()) return text.substr(0, word.size()) == word ? Prefix::Whole : Prefix::No;
    return word.substr(0, text.size()) == text ? Prefix::Partly : Prefix::No;
}

}  // namespace

ListXmlElements::ListXmlElements(const std::filesystem::path& file, std::size_t chunkSize,
                                 std::size_t maxElementSize)
    : m_file(file), m_chunkSize(std::max<std::size_t>(chunkSize, 1)), m_maxElementSize(maxElementSize) {}

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

bool ListXmlElements::ScanElement() {
    enum class In { Content, Tag, Value, EndTag };
    const char* data = m_buffer.data();
    const std::size_t end = m_end;
    In in = In::Content;
    char quote = 0;
    std::size_t markup = m_pos;  // where the tag being scanned began
    TagStops stops(data, end);
    for (std::size_t at = stops.Next(m_pos); at < end; at = stops.Next(at + 1)) {
        const char c = data[at];
        switch (in) {
            case In::Content:
                if (c != '<') break;
                markup = at;
                if (at + 1 == end) {
                    m_pos = at;
                    return false;
                }
                if (data[at + 1] == '/') {
                    in = In::EndTag;
                } else if (data[at + 1] == '!' || data[at + 1] == '?') {
                    Token token;
                    if (!ScanToken(at, token)) {
                        m_pos = at;
                        return false;
                    }
                    if (token.kind == Kind::Doctype)
                        throw XmlFormatError("a DOCTYPE inside an element of listinfo.txt");
                    at = token.end - 1;
                } else {
                    in = In::Tag;
                }
                break;
            case In::Tag:
                if (c == '>') {
                    // The parser of the element recurses once per level.
                    if (data[at - 1] != '/' && ++m_depth > kMaxDepth)
                        throw XmlFormatError("elements of listinfo.txt nest too deeply");
                    in = In::Content;
                } else if (c == '<') {
                    throw XmlFormatError("a tag that does not end in listinfo.txt");
                } else {
                    quote = c;
                    in = In::Value;
                }
                break;
            case In::Value:
                if (c == quote) in = In::Tag;
                break;
            case In::EndTag:
                if (c != '>') break;
                if (--m_depth == 0) {
                    m_pos = at + 1;
                    return true;
                }
                in = In::Content;
                break;
        }
    }
    m_pos = in == In::Content ? end : markup;
    return false;
}

bool ListXmlElements::Next(std::string_view& name, std::string_view& element) {
    if (!m_startChecked) {
        SkipByteOrderMark();
        m_startChecked = true;
    }
    while (m_place != Place::Done) {
        if (m_place == Place::Element) {
            if (ScanElement()) {
                m_place = Place::Root;
                name = NameAt(m_elementStart);
                element = {m_buffer.data() + m_elementStart, m_pos - m_elementStart};
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
