#include "catalogue/SettingsFile.h"

#include <string_view>

#include "catalogue/ByteText.h"
#include "catalogue/TabFields.h"
#include "catalogue/TextCodec.h"
#include "catalogue/TextFile.h"

namespace kanaroll {

namespace {

constexpr std::string_view kMamePathKey = "MAMEPath:";
constexpr std::string_view kMamePathLine = "MAMEPath:=";
constexpr std::string_view kReplaceTextKey = "ReplaceText:=";
constexpr std::string_view kAssign = ":=";

// `line` is what follows the first ":=" of a rule line: search TAB replacement TAB flag.
TReplacePatterns ReadRule(std::string_view line) {
    TReplacePatterns rule;
    rule.searchText.assign(TakeTabEndedField(line));
    rule.replacementText.assign(TakeTabEndedField(line));
    rule.onlyInParentheses = line == "P";
    return rule;
}

}  // namespace

bool StoredPathNamesFile(const std::string& storedPath) {
    const std::string utf8 = ShiftJisCodec().ToUtf8(storedPath);
    return FileExists(std::filesystem::path(std::u8string(utf8.begin(), utf8.end())));
}

void LoadSettings(const std::filesystem::path& iniFile, std::string& mamePath, ReplaceRuleList& rules,
                  const StoredPathExists& exists) {
    mamePath.clear();
    if (!FileExists(iniFile)) return;
    LineReader reader(iniFile);
    std::string_view line;
    while (reader.Next(line)) {
        // Both keys are looked for anywhere in the line, and the rule key in what is left of the line
        // once a path key has cut it: files of earlier versions are read the same way.
        if (bytetext::Contains(line, kMamePathKey)) {
            const auto assign = line.find(kAssign);
            line = assign == std::string_view::npos ? line.substr(1) : line.substr(assign + kAssign.size());
            mamePath.assign(line);
            if (!exists(mamePath)) mamePath.clear();
        }
        if (bytetext::Contains(line, kReplaceTextKey)) {
            rules.push_back(ReadRule(line.substr(line.find(kAssign) + kAssign.size())));
        }
    }
}

void SaveSettings(const std::filesystem::path& iniFile, const std::string& mamePath,
                  const ReplaceRuleList& rules) {
    LineWriter writer(iniFile);
    std::string line(kMamePathLine);
    line += mamePath;
    writer.WriteLine(line);
    for (const TReplacePatterns& rule : rules) {
        line.assign(kReplaceTextKey);
        line += rule.searchText;
        line += '\t';
        line += rule.replacementText;
        line += '\t';
        if (rule.onlyInParentheses) line += 'P';
        writer.WriteLine(line);
    }
    writer.Commit();
}

}  // namespace kanaroll
