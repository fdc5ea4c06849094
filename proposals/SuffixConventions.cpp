#include "proposals/SuffixConventions.h"

#include <algorithm>
#include <cctype>
#include <functional>

namespace kanaroll::proposals {
namespace {

bool IsCodeByte(char c) {
    return c > ' ' && c < 0x7F;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (!IsDigit(c)) return false;
    return true;
}

// Replaces in `code` the last spelling of token `from` by the same spelling of `to`: a number as a
// digit run of the same value, padded to the run's width; letters as they stand, lower-cased. The
// first `kept` bytes of the code hold the series number, which no whole run replaces.
bool ReplaceToken(std::string& code, const std::string& from, const std::string& to, std::size_t kept = 0) {
    const bool digits = AllDigits(from) && AllDigits(to);
    if (digits) {
        const unsigned long value = std::stoul(from.substr(0, 9));
        // The digit runs of the code, last first.
        std::size_t end = code.size();
        while (end > kept) {
            while (end > kept && !IsDigit(code[end - 1])) --end;
            std::size_t start = end;
            while (start > kept && IsDigit(code[start - 1])) --start;
            if (start == end) break;
            const std::string run = code.substr(start, end - start);
            if (run.size() <= 9 && std::stoul(run) == value) {
                // The number as the code writes it, with as many leading zeros as the run had: "42-05"
                // in place of "42-06" turns "_u6" into "_u5", "set 7" in place of "set 1" "_01" into "_07".
                std::string spelled = to.substr(std::min(to.find_first_not_of('0'), to.size() - 1));
                if (spelled.size() < run.size()) spelled.insert(0, run.size() - spelled.size(), '0');
                code.replace(start, end - start, spelled);
                return true;
            }
            end = start;
        }
    }
    const auto at = code.rfind(from);
    if (at == std::string::npos || from.empty()) return false;
    // Digits written together with others, "6.03" as "603": the same digits within a longer run. A
    // run of those digits alone was a whole number, which the loop above took or left.
    if (digits && !(at > 0 && IsDigit(code[at - 1])) &&
        !(at + from.size() < code.size() && IsDigit(code[at + from.size()])))
        return false;
    code.replace(at, from.size(), to);
    return true;
}

// The length of the series number at the start of `code` ("_3" of "_3_1"), when the list numbers a
// series under the reading's stem; 0 otherwise.
std::size_t SeriesNumberLength(std::string_view code) {
    if (code.size() < 2 || code[0] != '_' || !IsDigit(code[1]) || code[1] == '0') return 0;
    std::size_t end = 1;
    while (end < code.size() && IsDigit(code[end])) ++end;
    return end;
}

}  // namespace

SeriesNumber SeriesNumberOf(std::string_view reading) {
    const std::size_t first = reading.find('_');
    if (first == std::string_view::npos || first == 0 || IsCodeByte(reading[first - 1])) return {};
    const std::size_t length = SeriesNumberLength(reading.substr(first));
    if (length < 2 || length > 4) return {};
    return {reading.substr(0, first), std::stoi(std::string(reading.substr(first + 1, length - 1)))};
}

StemAndCode SplitCode(std::string_view reading) {
    std::size_t start = reading.size();
    while (start > 0 && IsCodeByte(reading[start - 1])) --start;
    return {reading.substr(0, start), reading.substr(start)};
}

std::vector<std::string> CodeTokens(std::string_view text) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (!IsDigit(c) && !IsAlpha(c)) {
            ++i;
            continue;
        }
        const bool digits = IsDigit(c);
        std::size_t end = i;
        while (end < text.size() && (digits ? IsDigit(text[end]) : IsAlpha(text[end]))) ++end;
        std::string token(text.substr(i, end - i));
        for (char& t : token) t = static_cast<char>(std::tolower(static_cast<unsigned char>(t)));
        tokens.push_back(std::move(token));
        i = end;
    }
    return tokens;
}

void SuffixConventions::Learn(std::string_view reading, std::string_view plainStem, std::string_view name) {
    if (!plainStem.empty() && reading.starts_with(plainStem) && reading.size() > plainStem.size())
        ++Entry(m_codes, reading.substr(plainStem.size()));
    const StemAndCode split = SplitCode(reading);
    if (!split.code.empty() && !split.stem.empty()) ++Entry(m_codes, split.code);
    // A series number: "_" and digits, the first of them not 0.
    const auto underscore = reading.rfind('_');
    if (underscore != std::string_view::npos && underscore + 1 < reading.size() && underscore > 0 &&
        reading[underscore + 1] != '0' && AllDigits(reading.substr(underscore + 1))) {
        Series& series = m_series[std::string(reading.substr(0, underscore))];
        const int before = FirstGameKind(series);
        (reading.substr(underscore + 1) == "1" ? series.first : series.later) = true;
        CountFirstGame(before, FirstGameKind(series));
    } else {
        Series& series = m_series[std::string(reading)];
        const int before = FirstGameKind(series);
        series.plain = true;
        CountFirstGame(before, FirstGameKind(series));
    }
    // The series number right after the stem, whatever follows it ("てっけん_4たっぐとーなめんと").
    const SeriesNumber series = SeriesNumberOf(reading);
    if (series.stem.empty()) return;
    Numbered& numbered = Entry(m_numbered, series.stem);
    numbered.highest = std::max(numbered.highest, series.number);
    if (name.empty()) return;
    const std::size_t hash = std::hash<std::string_view>{}(name);
    if (numbered.name == 0) numbered.name = hash;
    numbered.severalNames |= numbered.name != hash;
}

int SuffixConventions::HighestInSeries(std::string_view stem) const {
    const Numbered* numbered = Find(m_numbered, stem);
    return numbered ? numbered->highest : 0;
}

bool SuffixConventions::NumbersGames(std::string_view stem) const {
    const Numbered* numbered = Find(m_numbered, stem);
    return numbered && numbered->severalNames;
}

std::string SuffixConventions::WithSeriesCode(std::string reading) const {
    const auto found = m_series.find(reading);
    if (found == m_series.end() || found->second.plain) return reading;
    if (found->second.first || found->second.later) reading += "_1";
    return reading;
}

int SuffixConventions::FirstGameKind(const Series& series) {
    if (!series.later) return 0;
    return series.first ? 1 : series.plain ? 2 : 0;
}

void SuffixConventions::CountFirstGame(int before, int after) {
    if (before == after) return;
    if (before) --m_firstGames[before - 1];
    if (after) ++m_firstGames[after - 1];
}

bool SuffixConventions::NumbersFirstGames() const {
    return m_firstGames[0] > m_firstGames[1];
}

bool SuffixConventions::IsSeries(std::string_view stem) const {
    const Series* series = Find(m_series, stem);
    return series && (series->first || series->later);
}

void SuffixConventions::LearnPartCode(std::string_view part, std::string_view code) {
    Entry(m_partCodes, part).Add(code);
}

const std::string* SuffixConventions::PartCode(std::string_view part) const {
    const Votes* votes = Find(m_partCodes, part);
    return votes ? votes->Best(2, 0.5) : nullptr;
}

bool SuffixConventions::Explains(std::string_view plain, std::string_view reading) const {
    if (reading == plain) return true;
    if (!reading.starts_with(plain)) return false;
    const int* count = Find(m_codes, reading.substr(plain.size()));
    return count && *count >= 2;
}

std::optional<std::string> SuffixConventions::FromSibling(std::string_view description,
                                                          std::string_view siblingDescription,
                                                          std::string_view siblingReading,
                                                          int& changes) const {
    return FromSibling(CodeTokens(description), CodeTokens(siblingDescription), siblingReading, changes);
}

std::optional<std::string> SuffixConventions::FromSibling(const std::vector<std::string>& mine,
                                                          const std::vector<std::string>& theirs,
                                                          std::string_view siblingReading,
                                                          int& changes) const {
    changes = 0;
    if (mine.size() != theirs.size()) return std::nullopt;
    const StemAndCode split = SplitCode(siblingReading);
    std::string code(split.code);
    // A series number ("さむらいすぴりっつ_1") tells the game apart from its sequels, not from its
    // other sets: "set 2" in place of "set 1" leaves it as it is.
    const std::size_t kept = NumbersGames(split.stem) ? SeriesNumberLength(code) : 0;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        if (mine[i] == theirs[i]) continue;
        ++changes;
        if (ReplaceToken(code, theirs[i], mine[i], kept)) continue;
        // A word the code does not spell: the list's code for it, when it has one, or no part in
        // the code at all.
        const std::string* from = PartCode(theirs[i]);
        const std::string* to = PartCode(mine[i]);
        if (from && to && !from->empty() && ReplaceToken(code, *from, *to, kept)) continue;
        // Two words the list has no code for: taken as words the code leaves out, which is less
        // certain than a replacement, so it counts more.
        if (!from && !to && theirs[i].size() >= 4 && mine[i].size() >= 4 && !AllDigits(theirs[i])) {
            changes += 2;
            continue;
        }
        return std::nullopt;
    }
    return std::string(split.stem) + code;
}

}  // namespace kanaroll::proposals
