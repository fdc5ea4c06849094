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

std::string_view WithoutSubtitle(std::string_view mainPart) {
    const auto dash = mainPart.find(" -");
    return dash == std::string_view::npos || dash == 0 ? mainPart : mainPart.substr(0, dash);
}

QualifierGroups SplitQualifier(std::string_view qualifier) {
    QualifierGroups groups;
    const std::size_t size = qualifier.size();
    std::size_t at = 0;
    while (at < size) {
        if (qualifier[at] == ' ') {
            ++at;
            continue;
        }
        if (qualifier[at] != '(') return {};
        // One pass to the group's closing parenthesis, cutting parts at each ", " outside nested
        // parentheses, which stay inside their part: "('Galaxian (Namco set 2)' hack)".
        if (groups.empty()) groups.reserve(3);
        auto& parts = groups.emplace_back();
        parts.reserve(3);  // few groups have more parts: no growing
        int depth = 1;
        std::size_t start = at + 1;
        std::size_t i = start;
        for (; i < size; ++i) {
            const char c = qualifier[i];
            if (c == '(') {
                ++depth;
            } else if (c == ')') {
                if (--depth == 0) break;
            } else if (c == ',' && depth == 1 && i + 1 < size && qualifier[i + 1] == ' ') {
                parts.push_back(qualifier.substr(start, i - start));
                start = i + 2;
                ++i;
            }
        }
        if (i >= size) return {};
        parts.push_back(qualifier.substr(start, i - start));
        at = i + 1;
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

std::string_view GroupText(const std::vector<std::string_view>& group) {
    if (group.empty()) return {};
    const char* begin = group.front().data();
    return {begin, static_cast<std::size_t>(group.back().data() + group.back().size() - begin)};
}

std::string_view NextWord(std::string_view part, std::size_t& at) {
    while (at < part.size() && part[at] == ' ') ++at;
    const std::size_t start = at;
    while (at < part.size() && part[at] != ' ') ++at;
    return part.substr(start, at - start);
}

std::size_t CountWords(std::string_view part) {
    std::size_t count = 0;
    std::size_t at = 0;
    while (!NextWord(part, at).empty()) ++count;
    return count;
}

}  // namespace kanaroll::proposals
