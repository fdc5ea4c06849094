#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kanaroll {

// I/O error numbers, as the error messages know them.
namespace io {
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kTooManyOpenFiles = 4;
constexpr int kAccessDenied = 5;
constexpr int kReadPastEnd = 100;
constexpr int kDiskFull = 101;
constexpr int kNotANumber = 106;
// A failure the table has no message for is numbered apart from every table entry: the C library's
// errno value above kCLibraryErrorBase, Windows' own error code above kWindowsErrorBase.
constexpr int kCLibraryErrorBase = 1000;
constexpr int kWindowsErrorBase = 10000;
}  // namespace io

// A failure to open, create, read or write a file. Carries the I/O error number; what() is the
// message that belongs to that number (UTF-8).
class IoError : public std::runtime_error {
public:
    explicit IoError(int number);
    int Number() const { return m_number; }

    static std::string MessageFor(int number);

private:
    int m_number;
};

// The I/O error for a C library errno value.
IoError IoErrorFromErrno(int errnoValue);
// The I/O error for a Windows error code (GetLastError), as the C runtime passes it on.
IoError IoErrorFromWindowsError(unsigned long code);

// The integer conversion's failure: "'%s' は整数ではありません" with the text in place of %s.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(std::string_view text);
};

// The text of an error box: the message, with "." appended when the message is not empty and its
// last byte is above 0x2E.
std::string ErrorBoxText(std::string_view message);

}  // namespace kanaroll
