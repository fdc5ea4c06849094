#include "proposals/FamilyReadings.h"

#include <algorithm>
#include <array>

#include "proposals/TitleParts.h"
#include "proposals/Utf8Chars.h"

namespace kanaroll::proposals {
namespace {

// How many of a family's known members are worked out from the others to choose the way.
constexpr std::size_t kTrials = 8;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// How far two descriptions are apart, token by token.
int Distance(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    const std::size_t common = std::min(a.size(), b.size());
    int distance = static_cast<int>(std::max(a.size(), b.size()) - common) * 2;
    for (std::size_t i = 0; i < common; ++i) distance += a[i] != b[i];
    return distance;
}

}  // namespace

std::optional<std::string> FamilyReadings::Derive(Way way, std::string_view description, const Tokens& mine,
                                                  const std::vector<FamilyMember>& members,
                                                  const Prepared& prepared, std::size_t skip) const {
    const auto eligible = [&](std::size_t i) { return i != skip && prepared.sameName[i]; };
    switch (way) {
        case Way::Substitute: {
            std::optional<std::string> best;
            int bestChanges = 1 << 30;
            for (std::size_t i = 0; i < members.size(); ++i) {
                if (!eligible(i)) continue;
                int changes = 0;
                auto reading = m_suffixes.FromSibling(mine, prepared.tokens[i], members[i].reading, changes);
                if (reading && changes < bestChanges) bestChanges = changes, best = std::move(reading);
            }
            return best;
        }
        case Way::CopyNearest: {
            std::size_t best = kNone;
            int bestDistance = 1 << 30;
            for (std::size_t i = 0; i < members.size(); ++i) {
                if (!eligible(i)) continue;
                const int distance = Distance(mine, prepared.tokens[i]);
                if (distance < bestDistance) bestDistance = distance, best = i;
            }
            if (best == kNone) return std::nullopt;
            return members[best].reading;
        }
        case Way::CopyMaster:
            for (std::size_t i = 0; i < members.size(); ++i)
                if (members[i].isMaster && eligible(i)) return members[i].reading;
            return std::nullopt;
        case Way::PartCode: {
            const auto groups = SplitQualifier(SplitTitle(description).qualifier);
            if (groups.size() != 1 || groups[0].size() != 1) return std::nullopt;
            const std::string* code = m_suffixes.PartCode(ToLowerAscii(groups[0][0]));
            if (!code) return std::nullopt;
            for (std::size_t i = 0; i < members.size(); ++i)
                if (members[i].isMaster && eligible(i))
                    return std::string(SplitCode(members[i].reading).stem) + *code;
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<std::string> FamilyReadings::Propose(std::string_view description, std::string_view mainPart,
                                                   const std::vector<FamilyMember>& members) const {
    constexpr std::array kWays = {Way::Substitute, Way::CopyNearest, Way::CopyMaster, Way::PartCode};
    std::array<int, kWays.size()> right{};
    std::size_t trials = 0;
    // The ways are tried on the members nearest the game: a family's conventions drift from one set
    // of its games to another (its Japanese sets coded apart from its US ones).
    // Each member's tokens and name, once for all the ways and trials.
    const Tokens mine = CodeTokens(description);
    Prepared prepared;
    prepared.tokens.reserve(members.size());
    prepared.sameName.reserve(members.size());
    for (const FamilyMember& member : members) {
        prepared.tokens.push_back(CodeTokens(member.description));
        prepared.sameName.push_back(mainPart.empty() || MainPart(member.title) == mainPart);
    }
    std::vector<std::pair<int, std::size_t>> nearest;
    nearest.reserve(members.size());
    for (std::size_t i = 0; i < members.size(); ++i)
        if (prepared.sameName[i]) nearest.emplace_back(Distance(mine, prepared.tokens[i]), i);
    const std::size_t tried = std::min(nearest.size(), kTrials);
    std::partial_sort(nearest.begin(), nearest.begin() + static_cast<std::ptrdiff_t>(tried), nearest.end());
    for (std::size_t n = 0; n < tried; ++n) {
        const std::size_t held = nearest[n].second;
        ++trials;
        for (std::size_t w = 0; w < kWays.size(); ++w) {
            const auto reading =
                Derive(kWays[w], members[held].description, prepared.tokens[held], members, prepared, held);
            if (reading && *reading == members[held].reading) ++right[w];
        }
    }
    // With no member to try the ways on, the order above stands; a family on which every way failed
    // gives nothing.
    std::size_t chosen = 0;
    for (std::size_t w = 1; w < kWays.size(); ++w)
        if (right[w] > right[chosen]) chosen = w;
    if (trials >= 2 && right[chosen] == 0) return std::nullopt;
    if (auto reading = Derive(kWays[chosen], description, mine, members, prepared, kNone)) return reading;
    // The chosen way may not apply to this game (no sibling with as many tokens): the next best.
    for (std::size_t w = 0; w < kWays.size(); ++w)
        if (w != chosen && (trials < 2 || right[w] > 0))
            if (auto reading = Derive(kWays[w], description, mine, members, prepared, kNone)) return reading;
    return std::nullopt;
}

}  // namespace kanaroll::proposals
