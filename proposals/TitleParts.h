#pragma once

#include <string>
#include <string_view>
#include <vector>

// How the titles of a name list are built: a head, the part before the first " (", and the
// parenthesised qualifiers from there on, such as "パックマン / Newpuc2 (set 1)" or
// "Puzznic (US)". The head may hold a second name after " / ": "天地を喰らう / Dynasty Wars".
namespace kanaroll::proposals {

struct TitleParts {
    std::string_view head;       // before the first " ("; the whole title when there is none
    std::string_view qualifier;  // from the blank before the first "(" on; empty when none
};
TitleParts SplitTitle(std::string_view title);

// The head without a second name: the text before the first " / " or "/ " of the head.
std::string_view MainName(std::string_view head);

// The main part a reading is taken from: the text before the first " (" or " / ", as the window's
// entry selection and the list's own same-name groups see it.
std::string_view MainPart(std::string_view title);

// A main part without its subtitle, the text from the first " -" on: "インベージョン" of
// "インベージョン -The Abductors". The whole main part when it has none.
std::string_view WithoutSubtitle(std::string_view mainPart);

// A qualifier cut into its parenthesised groups and each group into its comma-separated parts,
// "(Japan, bootleg) (set 2)" giving {{"Japan", "bootleg"}, {"set 2"}}; what stands between the
// groups (blanks) is dropped. Empty when the qualifier is not a plain sequence of groups.
using QualifierGroups = std::vector<std::vector<std::string_view>>;
QualifierGroups SplitQualifier(std::string_view qualifier);

// The opposite: groups and parts joined as the lists write them, "(日本版, 海賊版) (set 2)".
std::string JoinQualifier(const std::vector<std::vector<std::string>>& groups);

// The text inside the parentheses of one group of SplitQualifier(), its parts with the ", " between
// them, as a view of the qualifier the group was cut from.
std::string_view GroupText(const std::vector<std::string_view>& group);

// The words of a part, which blanks separate: how many there are, and the next from `at` on (empty
// when there is none left).
std::size_t CountWords(std::string_view part);
std::string_view NextWord(std::string_view part, std::size_t& at);

}  // namespace kanaroll::proposals
