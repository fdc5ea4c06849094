#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Writes MAME's -listinfo layout: "game (" or "resource (" blocks of one property a line, each
// line after a TAB, a block closed by ")" and an empty line. The tests, the benchmark generators
// and the GUI benchmark all write their listinfo.txt through it, so that the layout lives in one
// place; the caller decides which properties a block has and in what order.
namespace kanaroll::testing {

class ListInfoWriter {
public:
    explicit ListInfoWriter(std::string& out, std::string_view lineEnd = "\r\n")
        : m_out(out), m_lineEnd(lineEnd) {}

    // "game (" or "resource (", and the block's end.
    void BeginBlock(std::string_view kind) {
        m_out += kind;
        m_out += " (";
        m_out += m_lineEnd;
    }
    void EndBlock() {
        m_out += ')';
        m_out += m_lineEnd;
        m_out += m_lineEnd;
    }

    // "\tkey value", and "\tkey \"value\"" for the quoted texts (description, manufacturer).
    void Property(std::string_view key, std::string_view value) {
        Key(key);
        m_out += value;
        m_out += m_lineEnd;
    }
    void Quoted(std::string_view key, std::string_view value) {
        Key(key);
        AppendQuoted(value);
        m_out += m_lineEnd;
    }

    // A property that holds a list, "\tkey ( word value ... )": Open, its words, Close.
    ListInfoWriter& Open(std::string_view key) {
        Key(key);
        m_out += '(';
        return *this;
    }
    ListInfoWriter& Word(std::string_view word) {
        m_out += ' ';
        m_out += word;
        return *this;
    }
    ListInfoWriter& Word(std::string_view word, std::string_view value) { return Word(word).Word(value); }
    ListInfoWriter& Word(std::string_view word, std::uint64_t value) {
        return Word(word).Formatted("%llu", static_cast<unsigned long long>(value));
    }
    // A hexadecimal value, padded to `digits` with zeros.
    ListInfoWriter& Hex(std::string_view word, std::uint64_t value, int digits = 1) {
        return Word(word).Formatted("%0*llx", digits, static_cast<unsigned long long>(value));
    }
    ListInfoWriter& QuotedWord(std::string_view word, std::string_view value) {
        Word(word);
        m_out += ' ';
        AppendQuoted(value);
        return *this;
    }
    void Close() {
        m_out += " )";
        m_out += m_lineEnd;
    }

    // A line as it stands (with its TAB, if it wants one), for what the layout does not cover.
    void Line(std::string_view text) {
        m_out += text;
        m_out += m_lineEnd;
    }

private:
    void Key(std::string_view key) {
        m_out += '\t';
        m_out += key;
        m_out += ' ';
    }
    void AppendQuoted(std::string_view value) {
        m_out += '"';
        m_out += value;
        m_out += '"';
    }
    // A number after a blank, through a fixed buffer: no locale, no stream state.
    template <typename... Values>
    ListInfoWriter& Formatted(const char* format, Values... values) {
        char buffer[24];
        const int length = std::snprintf(buffer, sizeof buffer, format, values...);
        m_out += ' ';
        m_out.append(buffer, static_cast<std::size_t>(length));
        return *this;
    }

    std::string& m_out;
    std::string_view m_lineEnd;
};

}  // namespace kanaroll::testing
