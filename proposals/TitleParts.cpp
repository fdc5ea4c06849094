#include "proposals/TitleParts.h"

namespace kanaroll::proposals {

TitleParts SplitTitle(std::string_view title) {
    const auto open = title.find(" (");
    if (open == std::string_view::npos) return {title, {}};
    return {title.substr(0, open), title.substr(open)};
}

std::string_view MainName(std::string_view head) {
    auto slash = head.find(" / ");
    if (slash == std::string_view::npos) slash = head.find("/ ");
    return slash == std::string_view::npos ? head : head.substr(0, slash);
}

std::string_view MainPart(std::string_view title) {
    const auto open = title.find(" (");
    const auto slash = title.find(" / ");
    return title.substr(0, std::min(open, slash));
}

QualifierGroups SplitQualifier(std::string_view qualifier) {
    QualifierGroups groups;
    std::size_t at = 0;
    while (at < qualifier.size()) {
        if (qualifier[at] == ' ') {
            ++at;
            continue;
        }
        if (qualifier[at] != '(') return {};
        // Nested parentheses stay inside their part: "('Galaxian (Namco set 2)' hack)".
        int depth = 0;
        std::size_t close = at;
        for (; close < qualifier.size(); ++close) {
            if (qualifier[close] == '(') ++depth;
            if (qualifier[close] == ')' && --depth == 0) break;
        }
        if (close >= qualifier.size()) return {};
        const std::string_view inner = qualifier.substr(at + 1, close - at - 1);
        std::vector<std::string_view> parts;
        std::size_t start = 0;
        int nested = 0;
        for (std::size_t i = 0; i <= inner.size(); ++i) {
            if (i < inner.size() && inner[i] == '(') ++nested;
            if (i < inner.size() && inner[i] == ')') --nested;
            if (i == inner.size() ||
                (nested == 0 && inner[i] == ',' && i + 1 < inner.size() && inner[i + 1] == ' ')) {
                parts.push_back(inner.substr(start, i - start));
                start = i + 2;
                if (i < inner.size()) ++i;
            }
        }
        groups.push_back(std::move(parts));
        at = close + 1;
    }
    return groups;
}

std::string JoinQualifier(const std::vector<std::vector<std::string>>& groups) {
    std::string out;
    for (const auto& group : groups) {
        out += " (";
        for (std::size_t i = 0; i < group.size(); ++i) {
            if (i > 0) out += ", ";
            out += group[i];
        }
        out += ')';
    }
    return out;
}

std::vector<std::string_view> SplitWords(std::string_view part) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start < part.size()) {
        auto blank = part.find(' ', start);
        if (blank == std::string_view::npos) blank = part.size();
        if (blank > start) words.push_back(part.substr(start, blank - start));
        start = blank + 1;
    }
    return words;
}

}  // namespace kanaroll::proposals
