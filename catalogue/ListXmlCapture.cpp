#include "catalogue/ListXmlCapture.h"

#include <cstring>
#include <stdexcept>

#include "catalogue/IoError.h"

namespace kanaroll {

namespace {

// The start of the output that is kept for finding the root element: MAME's document type takes
// some 7 KB.
constexpr std::size_t kHeadBytes = 1 << 20;
// The end of the output that is kept for finding the root's end tag.
constexpr std::size_t kTailBytes = 256;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view SkipBlanks(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    return text.substr(at);
}

// `text` after the end of what begins it and `end` closes; empty when `end` does not come.
std::string_view After(std::string_view text, std::string_view end, std::size_t from) {
    const auto found = text.find(end, from);
    return found == std::string_view::npos ? std::string_view{} : text.substr(found + end.size());
}

// `text` after its <!DOCTYPE ...> with the internal subset in brackets, whose declarations may hold
// quoted texts and comments with any characters; empty when the declaration does not end.
std::string_view AfterDocumentType(std::string_view text) {
    bool inSubset = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '"' || c == '\'') {
            const auto close = text.find(c, at + 1);
            if (close == std::string_view::npos) return {};
            at = close;
        } else if (text.substr(at).starts_with("<!--")) {
            const auto close = text.find("-->", at + 4);
            if (close == std::string_view::npos) return {};
            at = close + 2;
        } else if (c == '[') {
            inSubset = true;
        } else if (c == ']') {
            inSubset = false;
        } else if (c == '>' && !inSubset) {
            return text.substr(at + 1);
        }
    }
    return {};
}

void KeepLast(std::string& kept, std::size_t bytes) {
    if (kept.size() > bytes) kept.erase(0, kept.size() - bytes);
}

std::string Kept(std::string message) {
    return message + "。listinfo.txtは元のままです";
}

}  // namespace

std::string ListXmlRootName(std::string_view head) {
    if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
    head = SkipBlanks(head);
    if (!head.starts_with("<?xml") && !head.starts_with("<mame")) return {};
    for (;;) {
        head = SkipBlanks(head);
        if (head.starts_with("<?")) {
            head = After(head, "?>", 2);
        } else if (head.starts_with("<!--")) {
            head = After(head, "-->", 4);
        } else if (head.starts_with("<!DOCTYPE")) {
            head = AfterDocumentType(head);
        } else if (head.starts_with("<")) {
            std::size_t end = 1;
            while (end < head.size() && !IsBlank(head[end]) && head[end] != '>' && head[end] != '/') ++end;
            // A name that runs to the end of what was kept may go on beyond it.
            if (end == head.size()) return {};
            return std::string(head.substr(1, end - 1));
        } else {
            return {};  // text, or the end of what was kept, before the root
        }
    }
}

std::string ListXmlVerdict::Message() const {
    switch (problem) {
        case ListXmlProblem::None:
            return {};
        case ListXmlProblem::Cancelled:
            return Kept("MAMEを止めました");
        case ListXmlProblem::WriteFailed:
            return Kept("MAMEの出力を書き込めませんでした (" + IoError::MessageFor(ioError) + ")");
        case ListXmlProblem::NulByte:
            return Kept("MAMEの出力にNULバイトがありました");
        case ListXmlProblem::TooLarge:
            return Kept("MAMEの出力が" + std::to_string(limit >> 20) + " MBを超えたので止めました");
        case ListXmlProblem::ReadFailed:
            return Kept("MAMEの出力を読めませんでした (" + IoError::MessageFor(ioError) + ")");
        case ListXmlProblem::MameFailed:
            return Kept("MAMEが終了コード" + std::to_string(exitCode) + "で終わりました");
        case ListXmlProblem::Empty:
            return Kept("MAMEが何も出力しませんでした");
        case ListXmlProblem::NotXml:
            return Kept("MAMEの出力が-listxmlのXMLではありません");
        case ListXmlProblem::Truncated:
            return Kept("MAMEの出力が途中で終わっています");
    }
    return {};
}

ListXmlCapture::ListXmlCapture(const std::filesystem::path& listInfo, std::uint64_t limit)
    : m_file(std::in_place, listInfo), m_temporary(m_file->TemporaryPath()), m_limit(limit) {}

bool ListXmlCapture::Take(std::string_view bytes) {
    if (m_stopped != ListXmlProblem::None) return false;
    const std::uint64_t received = Received() + bytes.size();
    m_received.store(received, std::memory_order_relaxed);
    if (received > m_limit) return Stop(ListXmlProblem::TooLarge);
    if (std::memchr(bytes.data(), 0, bytes.size())) return Stop(ListXmlProblem::NulByte);
    if (m_head.size() < kHeadBytes) m_head.append(bytes.substr(0, kHeadBytes - m_head.size()));
    KeepTail(bytes);
    try {
        m_file->Write(bytes);
    } catch (const IoError& error) {
        m_writeError = error.Number();
        return Stop(ListXmlProblem::WriteFailed);
    }
    return true;
}

bool ListXmlCapture::Stop(ListXmlProblem problem) {
    m_stopped = problem;
    return false;
}

// Keeps the last bytes of the output and, apart, the last ones up to the last byte that is no
// blank, so that blanks after the end tag (any number of them) do not push it out.
void ListXmlCapture::KeepTail(std::string_view bytes) {
    std::size_t end = bytes.size();
    while (end > 0 && IsBlank(bytes[end - 1])) --end;
    if (end > 0) {
        const std::string_view upTo = bytes.substr(0, end);
        if (upTo.size() >= kTailBytes) {
            m_tailWhole.assign(upTo.substr(upTo.size() - kTailBytes));
        } else {
            m_tailWhole = m_tail;
            m_tailWhole.append(upTo);
            KeepLast(m_tailWhole, kTailBytes);
        }
    }
    m_tail.append(bytes.size() > kTailBytes ? bytes.substr(bytes.size() - kTailBytes) : bytes);
    KeepLast(m_tail, kTailBytes);
}

// The output ends with "</" root ">" and blanks, with blanks allowed before the ">".
bool ListXmlCapture::WholeXml(const std::string& root) const {
    std::string_view tail = m_tailWhole;
    if (!tail.ends_with('>')) return false;
    tail.remove_suffix(1);
    while (!tail.empty() && IsBlank(tail.back())) tail.remove_suffix(1);
    return tail.ends_with("</" + root);
}

ListXmlVerdict ListXmlCapture::Judge(const OutputEnd& end) {
    // A second judgement would find a good output's file closed already and take it for a failure.
    if (m_verdict) return *m_verdict;
    ListXmlVerdict verdict;
    verdict.bytes = Received();
    verdict.limit = m_limit;
    std::string root;
    if (end.cancelled) {
        verdict.problem = ListXmlProblem::Cancelled;
    } else if (m_stopped != ListXmlProblem::None) {
        verdict.problem = m_stopped;
        verdict.ioError = m_writeError;
    } else if (end.readError != 0) {
        verdict.problem = ListXmlProblem::ReadFailed;
        verdict.ioError = end.readError;
    } else if (end.exitCode != 0) {
        verdict.problem = ListXmlProblem::MameFailed;
        verdict.exitCode = end.exitCode;
    } else if (verdict.bytes == 0) {
        verdict.problem = ListXmlProblem::Empty;
    } else if ((root = ListXmlRootName(m_head)).empty()) {
        verdict.problem = ListXmlProblem::NotXml;
    } else if (!WholeXml(root)) {
        verdict.problem = ListXmlProblem::Truncated;
    }
    if (verdict.Good() && m_file) {
        try {
            m_file->Close();
        } catch (const IoError& error) {
            verdict.problem = ListXmlProblem::WriteFailed;
            verdict.ioError = error.Number();
        }
    }
    m_good = verdict.Good() && m_file;
    if (!m_good) m_file.reset();  // closes and removes the temporary file
    m_verdict = verdict;
    return verdict;
}

void ListXmlCapture::PutInPlace() {
    if (!m_good) throw std::logic_error("only a good -listxml output is put in place");
    m_file->Commit();
    m_good = false;
}

}  // namespace kanaroll
