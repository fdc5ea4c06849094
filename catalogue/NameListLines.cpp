#include "catalogue/NameListLines.h"

#include <cstring>

namespace kanaroll {

namespace {
constexpr char kCtrlZ = 26;
}  // namespace

NameListLines::NameListLines(const std::filesystem::path& file, std::size_t chunkSize)
    : m_input(file, chunkSize) {}

void NameListLines::Start() {
    m_started = true;
    while (m_input.end < 3 && m_input.ReadNext()) {
    }
    if (m_input.end >= 3 && std::memcmp(m_input.buffer.data(), "\xEF\xBB\xBF", 3) == 0) {
        m_hadBom = true;
        m_input.begin = 3;
    }
}

// The end-of-file mark at m_input.begin: it and whatever follows, whole.
void NameListLines::TakeEndOfFile() {
    while (m_input.ReadNext()) {
    }
    m_endOfFile.assign(m_input.buffer.data() + m_input.begin, m_input.end - m_input.begin);
    m_input.begin = m_input.end;
    m_done = true;
}

// The line from m_input.begin to `stop`, where its LF stands (or the end of the file).
void NameListLines::AddLine(std::vector<NameListLine>& lines, std::size_t stop, bool hasLf) {
    NameListLine& line = lines.emplace_back();
    std::string_view raw(m_input.buffer.data() + m_input.begin, stop - m_input.begin);
    if (hasLf) {
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
            line.end = "\r\n";
        } else {
            line.end = "\n";
        }
    }
    line.raw = raw;

    std::string_view text = raw;
    if (const void* mark = std::memchr(text.data(), kCtrlZ, text.size()))
        text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(mark) - text.data()));
    if (std::memchr(text.data(), '\r', text.size())) {
        // The cleaned text goes into a buffer that may still grow: it is seen once the batch is whole.
        const std::size_t offset = m_cleaned.size();
        for (char c : text)
            if (c != '\r') m_cleaned += c;
        m_cleanedTexts.push_back({lines.size() - 1, offset, m_cleaned.size() - offset});
    }
    line.text = text;
}

bool NameListLines::NextBatch(std::vector<NameListLine>& lines) {
    lines.clear();
    m_cleaned.clear();
    m_cleanedTexts.clear();
    if (m_done) return false;
    if (!m_started) Start();

    // Reads until the buffer holds a whole line (up to its LF) or the rest of the file.
    std::size_t scanned = m_input.begin;
    while (!std::memchr(m_input.buffer.data() + scanned, '\n', m_input.end - scanned)) {
        const std::size_t offset = m_input.end - m_input.begin;
        if (!m_input.ReadNext()) break;
        scanned = m_input.begin + offset;
    }

    while (m_input.begin < m_input.end) {
        if (m_input.buffer[m_input.begin] == kCtrlZ) {
            // Reading the rest moves the buffer: the lines before the mark go out first.
            if (lines.empty()) TakeEndOfFile();
            break;
        }
        const char* base = m_input.buffer.data();
        const auto* lf =
            static_cast<const char*>(std::memchr(base + m_input.begin, '\n', m_input.end - m_input.begin));
        if (!lf && !m_input.eof) break;  // not whole yet: the next batch reads on
        const std::size_t stop = lf ? static_cast<std::size_t>(lf - base) : m_input.end;
        AddLine(lines, stop, lf != nullptr);
        m_input.begin = lf ? stop + 1 : m_input.end;
    }
    if (m_input.eof && m_input.begin == m_input.end) m_done = true;

    for (const CleanedText& cleaned : m_cleanedTexts)
        lines[cleaned.line].text = std::string_view(m_cleaned).substr(cleaned.offset, cleaned.size);
    return !lines.empty();
}

}  // namespace kanaroll
