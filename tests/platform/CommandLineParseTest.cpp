// The command line a started program is given, read back by Windows' own parser.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>
#include <string>
#include <vector>

#include "platform/CommandLine.h"

namespace kanaroll {
namespace {

std::vector<std::wstring> Parsed(const std::wstring& line) {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::wstring> parsed(words, words + count);
    LocalFree(words);
    return parsed;
}

TEST(CommandLine, WindowsReadsEveryArgumentBackAsItWas) {
    const std::wstring program = LR"(C:\Program Files\マメ 0.251\mame 64.exe)";
    const std::vector<std::wstring> arguments{L"-listxml",    L"",           L"a b",
                                              L"tab\there",   LR"(C:\dir\)", LR"(C:\dir\ x\)",
                                              LR"(say "hi")", LR"(a\"b)",    LR"(\\server\share\)",
                                              L"\"",          L"\\",         L"日本 語"};
    const std::vector<std::wstring> parsed = Parsed(CommandLine(program, arguments));
    ASSERT_EQ(parsed.size(), arguments.size() + 1);
    EXPECT_EQ(parsed[0], program);
    for (std::size_t i = 0; i < arguments.size(); ++i) EXPECT_EQ(parsed[i + 1], arguments[i]) << i;
}

}  // namespace
}  // namespace kanaroll
