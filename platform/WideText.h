#pragma once

#include <string>
#include <string_view>

// The control boundary: catalogue and file texts are bytes of a code page (932 for Shift-JIS, 65001
// for UTF-8), controls speak UTF-16. Conversions name their code page explicitly, never the
// system's ANSI code page, so Japanese shows on any Windows locale.
namespace kanaroll {

std::wstring ToWide(std::string_view bytes, unsigned codePage);
std::string FromWide(std::wstring_view text, unsigned codePage);

// Program texts written in the sources are UTF-8.
inline std::wstring Utf8ToWide(std::string_view utf8) {
    return ToWide(utf8, 65001);
}
inline std::string WideToUtf8(std::wstring_view text) {
    return FromWide(text, 65001);
}

}  // namespace kanaroll
