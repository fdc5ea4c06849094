#pragma once

#include <span>
#include <string>
#include <string_view>

// The command line of a program that CreateProcessW starts: portable text, so that its quoting is
// tested without Windows.
namespace kanaroll {

// The program's path in quotes (it may hold blanks, and no Windows path holds a quote), then each
// argument, quoted where it must be so that the C runtime's parser and CommandLineToArgvW give it
// back as it was: in quotes when it is empty or holds a blank or a quote, a quote inside as \", and
// the backslashes before a quote doubled.
std::wstring CommandLine(std::wstring_view program, std::span<const std::wstring> arguments);

// One argument as CommandLine writes it: as it is, or in quotes by the rules above.
std::wstring QuotedArgument(std::wstring_view argument);

}  // namespace kanaroll
