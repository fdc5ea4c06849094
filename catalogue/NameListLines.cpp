#include "catalogue/NameListLines.h"

#include <cstring>

namespace kanaroll {

namespace {
constexpr char kCtrlZ = 26;
}  // namespace

NameListLines::NameListLines(const std::filesystem::path& file, std::size_t chunkSize)
    : m_file(file), m_chunkSize(chunkSize) {}

bool NameListLines::Fill() {
    return ReadNextChunk(m_file, m_buffer, m_begin, m_end, m_chunkSize, m_eof);
}

void NameListLines::Start() {
    m_started = true;
    while (m_end < 3 && Fill()) {
    }
    if (m_end >= 3 && std::memcmp(m_buffer.data(), "\xEF\xBB\xBF", 3) == 0) {
        m_hadBom = true;
        m_begin = 3;
    }
}

// The end-of-file mark at m_begin: it and whatever follows, whole.
void NameListLines::TakeEndOfFile() {
    while (Fill()) {
    }
    m_endOfFile.assign(m_buffer.data() + m_begin, m_end - m_begin);
    m_begin = m_end;
    m_done = true;
}

// The line from m_begin to `stop`, where its LF stands (or the end of the file).
void NameListLines::AddLine(std::vector<NameListLine>& lines, std::size_t stop, bool hasLf) {
    NameListLine& line = lines.emplace_back();
    std::string_view raw(m_buffer.data() + m_begin, stop - m_begin);
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
    std::size_t scanned = m_begin;
    while (!std::memchr(m_buffer.data() + scanned, '\n', m_end - scanned)) {
        const std::size_t offset = m_end - m_begin;
        if (!Fill()) break;
        scanned = m_begin + offset;
    }

    while (m_begin < m_end) {
        if (m_buffer[m_begin] == kCtrlZ) {
            // Reading the rest moves the buffer: the lines before the mark go out first.
            if (lines.empty()) TakeEndOfFile();
            break;
        }
        const char* base = m_buffer.data();
        const auto* lf = static_cast<const char*>(std::memchr(base + m_begin, '\n', m_end - m_begin));
        if (!lf && !m_eof) break;  // not whole yet: the next batch reads on
        const std::size_t stop = lf ? static_cast<std::size_t>(lf - base) : m_end;
        AddLine(lines, stop, lf != nullptr);
        m_begin = lf ? stop + 1 : m_end;
    }
    if (m_eof && m_begin == m_end) m_done = true;

    for (const CleanedText& cleaned : m_cleanedTexts)
        lines[cleaned.line].text = std::string_view(m_cleaned).substr(cleaned.offset, cleaned.size);
    return !lines.empty();
}

}  // namespace kanaroll
