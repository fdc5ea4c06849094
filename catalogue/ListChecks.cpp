#include "catalogue/ListChecks.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

#include "catalogue/KatakanaReading.h"
#include "catalogue/Recode.h"

namespace kanaroll {

namespace {

bool IsMameBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsKana(char32_t c) {
    return (c >= 0x3041 && c <= 0x3096) || (c >= 0x309D && c <= 0x309F) ||  // hiragana, ゝゞゟ
           (c >= 0x30A1 && c <= 0x30FA) || (c >= 0x30FD && c <= 0x30FF) ||  // katakana, ヽヾヿ
           (c >= 0x31F0 && c <= 0x31FF) ||                                  // small katakana for Ainu
           (c >= 0xFF66 && c <= 0xFF6F) || (c >= 0xFF71 && c <= 0xFF9D);    // half-width, not ｰﾞﾟ
}

ListFinding FindingFor(ListProblem problem, const CheckedLine& checked) {
    ListFinding finding;
    finding.problem = problem;
    finding.lineNumber = checked.line.lineNumber;
    finding.game = checked.line.game;
    if (checked.fields.namesGame)
        finding.zipName = Recode(checked.fields.zipName, checked.codec, Utf8Codec());
    return finding;
}

class LineLength final : public ListCheck {
public:
    void Check(const CheckedLine& checked, std::vector<ListFinding>& findings) override {
        // No character takes more than three times its bytes in UTF-8 (a half-width kana does).
        if (checked.line.text.size() * 3 <= kMameLineBytes) return;
        const std::size_t bytes = MameLineBytes(checked.line.text, checked.codec);
        if (bytes <= kMameLineBytes) return;
        ListFinding finding = FindingFor(ListProblem::LineTooLong, checked);
        finding.bytes = bytes;
        findings.push_back(std::move(finding));
    }
};

// A save checks tens of thousands of lines: the names seen go one after the other into one text,
// found again through a table of slots that point into it, so that no name costs an allocation.
class DuplicateZipName final : public ListCheck {
public:
    void Check(const CheckedLine& checked, std::vector<ListFinding>& findings) override {
        const std::string_view name = checked.fields.zipName;
        // Names beyond 4 GB of names (which no real list comes near) go unchecked.
        if (!checked.fields.namesGame || m_names.size() + name.size() > UINT32_MAX) return;
        if ((m_used + 1) * 2 > m_slots.size()) Grow();
        Slot& slot = Find(name, std::hash<std::string_view>{}(name));
        if (slot.lineNumber == 0) {
            slot = {static_cast<std::uint32_t>(m_names.size()), static_cast<std::uint32_t>(name.size()),
                    checked.line.lineNumber, checked.line.game};
            m_names.append(name);
            ++m_used;
            return;
        }
        ListFinding finding = FindingFor(ListProblem::DuplicateZipName, checked);
        finding.firstLineNumber = slot.lineNumber;
        if (finding.game < 0) finding.game = slot.game;
        findings.push_back(std::move(finding));
    }

private:
    struct Slot {
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
        int lineNumber = 0;  // 0: free
        int game = -1;
    };

    std::string_view NameOf(const Slot& slot) const {
        return std::string_view(m_names).substr(slot.offset, slot.size);
    }

    // The slot that holds `name`, or the free slot where it belongs.
    Slot& Find(std::string_view name, std::size_t hash) {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& slot = m_slots[at];
            if (slot.lineNumber == 0 || NameOf(slot) == name) return slot;
        }
    }

    void Grow() {
        std::vector<Slot> old(std::max<std::size_t>(m_slots.size() * 2, 1024));
        old.swap(m_slots);
        for (const Slot& slot : old)
            if (slot.lineNumber != 0) Find(NameOf(slot), std::hash<std::string_view>{}(NameOf(slot))) = slot;
    }

    std::string m_names;
    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
};

class EmptyTitle final : public ListCheck {
public:
    void Check(const CheckedLine& checked, std::vector<ListFinding>& findings) override {
        if (checked.fields.namesGame && EmptyForMame(checked.fields.title))
            findings.push_back(FindingFor(ListProblem::EmptyTitle, checked));
    }
};

class KanaReading final : public ListCheck {
public:
    void Check(const CheckedLine& checked, std::vector<ListFinding>& findings) override {
        if (checked.fields.namesGame && !HoldsKana(checked.fields.reading, checked.codec))
            findings.push_back(FindingFor(ListProblem::ReadingWithoutKana, checked));
    }
};

// Only a title that starts with a katakana letter can be a katakana title: the others cost a
// single character's decoding. Most readings are their head's hiragana letter for letter, which a
// look at both texts side by side tells without copying them; only the others are decoded whole
// for ReadingFitsTitle. A reading without kana is left to KanaReading, so that a line is not told
// twice about one fault.
class KatakanaReadingFit final : public ListCheck {
public:
    void Check(const CheckedLine& checked, std::vector<ListFinding>& findings) override {
        const MameLineFields& fields = checked.fields;
        if (!fields.namesGame || fields.title.empty() || static_cast<unsigned char>(fields.title[0]) < 0x80)
            return;
        std::size_t offset = 0;
        const char32_t first = checked.codec.DecodeCharacter(fields.title, offset);
        if (first < U'ァ' || first > U'ヶ') return;
        if (ReadsAsHiragana(fields.title, fields.reading, checked.codec)) return;
        if (!HoldsKana(fields.reading, checked.codec)) return;
        Decode(fields.title, checked.codec, m_title);
        Decode(fields.reading, checked.codec, m_reading);
        if (!ReadingFitsTitle(m_title, m_reading))
            findings.push_back(FindingFor(ListProblem::KatakanaReading, checked));
    }

private:
    static constexpr char32_t kEnd = 0;
    static constexpr char32_t kOther = 1;  // what the quick look leaves to ReadingFitsTitle

    static bool Skipped(char32_t c) { return c == U' ' || c == U'\u3000' || c == U'・'; }

    // The reading's next character that counts, kEnd at its end, kOther for ASCII.
    static char32_t NextOfReading(std::string_view reading, std::size_t& at, const TextCodec& codec) {
        while (at < reading.size()) {
            const auto byte = static_cast<unsigned char>(reading[at]);
            if (byte < 0x80) {
                ++at;
                if (byte == ' ') continue;
                return kOther;
            }
            const char32_t c = codec.DecodeCharacter(reading, at);
            if (!Skipped(c)) return c;
        }
        return kEnd;
    }

    // True when the title's head is all katakana and the reading its hiragana, letter for letter.
    static bool ReadsAsHiragana(std::string_view title, std::string_view reading, const TextCodec& codec) {
        std::size_t inTitle = 0;
        std::size_t inReading = 0;
        while (inTitle < title.size()) {
            const auto byte = static_cast<unsigned char>(title[inTitle]);
            char32_t c = byte;
            if (byte < 0x80) {
                ++inTitle;
            } else {
                c = codec.DecodeCharacter(title, inTitle);
            }
            if (c == U'(' || c == U'/' || c == U'（' || c == U'／') break;
            if (Skipped(c)) continue;
            if (c >= U'ァ' && c <= U'ヶ') {
                c -= 0x60;
            } else if (c != U'ー') {
                return false;
            }
            if (NextOfReading(reading, inReading, codec) != c) return false;
        }
        return NextOfReading(reading, inReading, codec) == kEnd;
    }

    static void Decode(std::string_view text, const TextCodec& codec, std::u32string& out) {
        out.clear();
        for (std::size_t offset = 0; offset < text.size();) out += codec.DecodeCharacter(text, offset);
    }

    std::u32string m_title;
    std::u32string m_reading;
};

}  // namespace

int ListCheckReport::FirstGame() const {
    for (const ListFinding& finding : findings)
        if (finding.game >= 0) return finding.game;
    return -1;
}

std::unique_ptr<ListCheck> LineLengthCheck() {
    return std::make_unique<LineLength>();
}
std::unique_ptr<ListCheck> DuplicateZipNameCheck() {
    return std::make_unique<DuplicateZipName>();
}
std::unique_ptr<ListCheck> EmptyTitleCheck() {
    return std::make_unique<EmptyTitle>();
}
std::unique_ptr<ListCheck> KanaReadingCheck() {
    return std::make_unique<KanaReading>();
}
std::unique_ptr<ListCheck> KatakanaReadingCheck() {
    return std::make_unique<KatakanaReadingFit>();
}

std::vector<std::unique_ptr<ListCheck>> SaveChecks() {
    std::vector<std::unique_ptr<ListCheck>> checks;
    checks.push_back(LineLengthCheck());
    checks.push_back(DuplicateZipNameCheck());
    checks.push_back(EmptyTitleCheck());
    checks.push_back(KanaReadingCheck());
    checks.push_back(KatakanaReadingCheck());
    return checks;
}

ListCheckReport CheckList(const ListLines& lines, std::span<const std::unique_ptr<ListCheck>> checks) {
    ListCheckReport report;
    const TextCodec& codec = *lines.Style().codec;
    lines.ForEach([&](const ListLine& line) {
        const MameLineFields fields = SplitAsMame(line.text);
        const CheckedLine checked{line, fields, codec};
        for (const auto& check : checks) check->Check(checked, report.findings);
    });
    return report;
}

ListCheckReport CheckList(const ListLines& lines) {
    return CheckList(lines, SaveChecks());
}

std::size_t MameLineBytes(std::string_view text, const TextCodec& codec) {
    if (&codec == &Utf8Codec() || IsAscii(text)) return text.size();
    std::size_t bytes = 0;
    for (std::size_t offset = 0; offset < text.size();) {
        const char32_t c = codec.DecodeCharacter(text, offset);
        bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    }
    return bytes;
}

bool HoldsKana(std::string_view text, const TextCodec& codec) {
    for (std::size_t offset = 0; offset < text.size();) {
        if (static_cast<unsigned char>(text[offset]) < 0x80) {
            ++offset;
            continue;
        }
        if (IsKana(codec.DecodeCharacter(text, offset))) return true;
    }
    return false;
}

bool EmptyForMame(std::string_view text) {
    for (const char c : text)
        if (!IsMameBlank(c)) return false;
    return true;
}

std::string DescribeFinding(const ListFinding& finding) {
    std::string text = std::to_string(finding.lineNumber) + "行目";
    if (!finding.zipName.empty()) text += " (" + finding.zipName + ")";
    text += ": ";
    switch (finding.problem) {
        case ListProblem::LineTooLong:
            return text + "行が" + std::to_string(finding.bytes) + "バイトあります。MAMEは" +
                   std::to_string(kMameLineBytes) + "バイトを超える分を別の行として読みます";
        case ListProblem::DuplicateZipName:
            return text + "ZIP名が" + std::to_string(finding.firstLineNumber) +
                   "行目と同じです。MAMEは最初の行だけを使います";
        case ListProblem::EmptyTitle:
            return text + "タイトルが空です";
        case ListProblem::ReadingWithoutKana:
            return text + "読みにかなが1文字もありません";
        case ListProblem::KatakanaReading:
            return text + "読みがカタカナのタイトルのひらがなと合いません";
    }
    return text;
}

std::string DescribeFindings(const ListCheckReport& report, std::size_t shown) {
    std::string text;
    const std::size_t count = report.findings.size();
    for (std::size_t i = 0; i < count && i < shown; ++i) {
        if (!text.empty()) text += "\r\n";
        text += DescribeFinding(report.findings[i]);
    }
    if (count > shown) text += (text.empty() ? "" : "\r\n") + ("ほか" + std::to_string(count - shown) + "件");
    return text;
}

}  // namespace kanaroll
