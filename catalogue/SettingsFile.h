#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "catalogue/TReplacePatterns.h"

namespace kanaroll {

// Whether a file exists under a path as kanaroll.ini stores it (Shift-JIS bytes).
using StoredPathExists = std::function<bool(const std::string& storedPath)>;
bool StoredPathNamesFile(const std::string& storedPath);

// Reads kanaroll.ini: the MAME path from a "MAMEPath:" line (empty when it names no existing file)
// and one rule per "ReplaceText:=" line, appended to `rules`. A missing file leaves the path empty
// and the rules untouched. Throws IoError; what was read before a failure stays in effect.
void LoadSettings(const std::filesystem::path& iniFile, std::string& mamePath, ReplaceRuleList& rules,
                  const StoredPathExists& exists = StoredPathNamesFile);

// Writes kanaroll.ini whole: "MAMEPath:=" + path, then "ReplaceText:=" + search TAB replacement TAB
// ("P" when only inside parentheses) per rule. Throws IoError.
void SaveSettings(const std::filesystem::path& iniFile, const std::string& mamePath,
                  const ReplaceRuleList& rules);

}  // namespace kanaroll
