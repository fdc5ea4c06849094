#include "proposals/QualifierRewrites.h"

#include <vector>

#include "proposals/TitleParts.h"

namespace kanaroll::proposals {
namespace {

// A rewrite is taken when the list showed it at least twice and in most of the games that had the
// English text; a text the list sometimes keeps as it is counts those games against the rewrite.
constexpr int kMinCount = 1;
constexpr double kMinShare = 0.5;

const std::string* Lookup(const StringMap<Votes>& table, std::string_view key) {
    const Votes* votes = Find(table, key);
    return votes ? votes->Best(kMinCount, kMinShare) : nullptr;
}

}  // namespace

void QualifierRewrites::Learn(std::string_view englishQualifier, std::string_view japaneseQualifier) {
    const QualifierGroups english = SplitQualifier(englishQualifier);
    if (english.empty()) return;
    Learn(english, SplitQualifier(japaneseQualifier));
}

void QualifierRewrites::Learn(const QualifierGroups& english, const QualifierGroups& japanese) {
    if (english.empty() || english.size() != japanese.size()) return;
    for (std::size_t g = 0; g < english.size(); ++g) {
        Entry(m_groups, GroupText(english[g])).Add(GroupText(japanese[g]));
        if (english[g].size() != japanese[g].size()) continue;
        for (std::size_t p = 0; p < english[g].size(); ++p) {
            const std::string_view from = english[g][p];
            const std::string_view to = japanese[g][p];
            Entry(m_parts, from).Add(to);
            if (CountWords(from) != CountWords(to)) continue;
            std::size_t fromAt = 0;
            std::size_t toAt = 0;
            for (std::string_view word = NextWord(from, fromAt); !word.empty(); word = NextWord(from, fromAt))
                Entry(m_words, word).Add(NextWord(to, toAt));
        }
    }
}

const std::string* QualifierRewrites::PartOrWord(std::string_view text) const {
    if (const std::string* part = Lookup(m_parts, text)) return part;
    return Lookup(m_words, text);
}

std::string QualifierRewrites::Rewrite(std::string_view englishQualifier) const {
    if (englishQualifier.empty()) return {};
    const QualifierGroups groups = SplitQualifier(englishQualifier);
    if (groups.empty()) return std::string(englishQualifier);
    std::vector<std::vector<std::string>> rewritten;
    for (const auto& group : groups) {
        auto& parts = rewritten.emplace_back();
        if (const std::string* whole = Lookup(m_groups, GroupText(group))) {
            parts.push_back(*whole);
            continue;
        }
        for (const std::string_view part : group) {
            if (const std::string* whole = Lookup(m_parts, part)) {
                parts.push_back(*whole);
                continue;
            }
            // Word by word, keeping the blanks between the words as they stand.
            std::string out;
            std::size_t start = 0;
            while (start <= part.size()) {
                auto blank = part.find(' ', start);
                if (blank == std::string_view::npos) blank = part.size();
                const std::string_view word = part.substr(start, blank - start);
                const std::string* to = word.empty() ? nullptr : Lookup(m_words, word);
                out += to ? std::string_view(*to) : word;
                if (blank < part.size()) out += ' ';
                start = blank + 1;
            }
            parts.push_back(std::move(out));
        }
    }
    return JoinQualifier(rewritten);
}

}  // namespace kanaroll::proposals
