#include "proposals/QualifierRewrites.h"

#include <vector>

#include "proposals/TitleParts.h"

namespace kanaroll::proposals {
namespace {

// A rewrite is taken when the list showed it at least twice and in most of the games that had the
// English text; a text the list sometimes keeps as it is counts those games against the rewrite.
constexpr int kMinCount = 1;
constexpr double kMinShare = 0.5;

const std::string* Lookup(const std::unordered_map<std::string, Votes>& table, std::string_view key) {
    const auto found = table.find(std::string(key));
    return found == table.end() ? nullptr : found->second.Best(kMinCount, kMinShare);
}

// A group's parts as they stood inside its parentheses.
std::string Joined(const std::vector<std::string_view>& parts) {
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) joined += ", ";
        joined += parts[i];
    }
    return joined;
}

}  // namespace

void QualifierRewrites::Learn(std::string_view englishQualifier, std::string_view japaneseQualifier) {
    const QualifierGroups english = SplitQualifier(englishQualifier);
    const QualifierGroups japanese = SplitQualifier(japaneseQualifier);
    if (english.empty() || english.size() != japanese.size()) return;
    for (std::size_t g = 0; g < english.size(); ++g) {
        m_groups[Joined(english[g])].Add(Joined(japanese[g]));
        if (english[g].size() != japanese[g].size()) continue;
        for (std::size_t p = 0; p < english[g].size(); ++p) {
            const std::string_view from = english[g][p];
            const std::string_view to = japanese[g][p];
            m_parts[std::string(from)].Add(to);
            const auto fromWords = SplitWords(from);
            const auto toWords = SplitWords(to);
            if (fromWords.size() != toWords.size()) continue;
            for (std::size_t w = 0; w < fromWords.size(); ++w)
                m_words[std::string(fromWords[w])].Add(toWords[w]);
        }
    }
}

std::string QualifierRewrites::Rewrite(std::string_view englishQualifier) const {
    if (englishQualifier.empty()) return {};
    const QualifierGroups groups = SplitQualifier(englishQualifier);
    if (groups.empty()) return std::string(englishQualifier);
    std::vector<std::vector<std::string>> rewritten;
    for (const auto& group : groups) {
        auto& parts = rewritten.emplace_back();
        if (const std::string* whole = Lookup(m_groups, Joined(group))) {
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
