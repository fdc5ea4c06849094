// The input is a kanaroll.ini. LoadSettings must read the MAME path and the rules that the line
// rules give (keys looked for anywhere in a line, the path key cutting the line before the rule key
// looks at it, the last path line deciding) and append the rules behind the ones already in the
// list. Whatever it read is then written with SaveSettings and read back: the same path and rules,
// and a second write gives the same bytes, unless a text holds one of the keys, which the file
// cannot carry (such texts only come from hand-edited files).
//
// A path "exists" here when it is not empty and does not begin with "!", so that the seeds can name
// both kinds without touching the disk; the real test on the disk runs once per input as well.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/SettingsFile.h"
#include "tests/fuzz/FuzzSupport.h"

namespace kanaroll::fuzz {
namespace {

bool FakeExists(const std::string& path) {
    return !path.empty() && path[0] != '!';
}

bool Has(std::string_view text, std::string_view what) {
    return text.find(what) != std::string_view::npos;
}

std::string_view TakeUpToTab(std::string_view& line) {
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos) return {};
    const auto field = line.substr(0, tab);
    line.remove_prefix(tab + 1);
    return field;
}

void PlainLoad(const std::vector<std::string>& lines, std::string& mamePath, ReplaceRuleList& rules) {
    mamePath.clear();
    for (std::string_view line : lines) {
        if (Has(line, "MAMEPath:")) {
            const auto assign = line.find(":=");
            line = assign == std::string_view::npos ? line.substr(1) : line.substr(assign + 2);
            mamePath = line;
            if (!FakeExists(mamePath)) mamePath.clear();
        }
        if (Has(line, "ReplaceText:=")) {
            line = line.substr(line.find(":=") + 2);
            TReplacePatterns rule;
            rule.searchText = TakeUpToTab(line);
            rule.replacementText = TakeUpToTab(line);
            rule.onlyInParentheses = line == "P";
            rules.push_back(rule);
        }
    }
}

}  // namespace
}  // namespace kanaroll::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    const std::string_view bytes = AsText(data, size);
    const auto ini = WriteScratchFile("kanaroll.ini", bytes);

    const TReplacePatterns earlier{"earlier", "kept", true};
    std::string mamePath = "left over";
    ReplaceRuleList rules{earlier};
    LoadSettings(ini, mamePath, rules, FakeExists);

    std::string expectedPath;
    ReplaceRuleList expectedRules{earlier};
    PlainLoad(ReferenceLineTexts(bytes), expectedPath, expectedRules);
    FUZZ_CHECK(mamePath == expectedPath);
    FUZZ_CHECK(rules == expectedRules);

    if (!mamePath.empty()) (void)StoredPathNamesFile(mamePath);

    bool storable = !Has(mamePath, "ReplaceText:=");
    for (const auto& rule : rules)
        storable = storable && !Has(rule.searchText, "MAMEPath:") && !Has(rule.replacementText, "MAMEPath:");
    if (!storable) return 0;

    const auto copy = Scratch() / "copy.ini";
    SaveSettings(copy, mamePath, rules);
    const std::string written = ReadScratchFile(copy);
    std::string pathBack = "left over";
    ReplaceRuleList rulesBack;
    LoadSettings(copy, pathBack, rulesBack, FakeExists);
    FUZZ_CHECK(pathBack == mamePath);
    FUZZ_CHECK(rulesBack == rules);
    SaveSettings(copy, pathBack, rulesBack);
    FUZZ_CHECK(ReadScratchFile(copy) == written);
    return 0;
}
