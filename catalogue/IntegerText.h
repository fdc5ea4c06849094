#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kanaroll {

// Text to a signed 32-bit integer: optional leading blanks, an optional "+" or "-", then decimal
// digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X". Nothing may follow the digits.
std::optional<std::int32_t> TryParseInteger(std::string_view text);

// As TryParseInteger, but a text that is no integer throws ConversionError.
std::int32_t ParseInteger(std::string_view text);

// Fixed-point text with `decimals` digits after a full stop, whatever the locale, right-aligned in
// at least `width` characters (printf's "%W.Df").
std::string FormatFixed(double value, int width, int decimals);

}  // namespace kanaroll
