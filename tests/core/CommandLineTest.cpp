#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/CommandLine.h"

namespace kanaroll {
namespace {

std::wstring Line(std::vector<std::wstring> arguments) {
    return CommandLine(LR"(C:\Program Files\マメ 0.251\mame.exe)", arguments);
}

TEST(CommandLine, QuotesTheProgramAndWhatTheParserWouldSplit) {
    EXPECT_EQ(Line({L"-listxml"}), LR"("C:\Program Files\マメ 0.251\mame.exe" -listxml)");
    EXPECT_EQ(Line({}), LR"("C:\Program Files\マメ 0.251\mame.exe")");
    EXPECT_EQ(Line({L"", L"a b", L"tab\there"}).substr(36), LR"( "" "a b" "tab	here")");
    // Backslashes count only before a quote: doubled there, and before the closing quote.
    EXPECT_EQ(Line({LR"(C:\dir\)", LR"(C:\dir\ x\)", LR"(say "hi")", LR"(a\"b)"}).substr(36),
              LR"( C:\dir\ "C:\dir\ x\\" "say \"hi\"" "a\\\"b")");
}

}  // namespace
}  // namespace kanaroll
