// The float conversions of <charconv> that emscripten's libc++ lacks, built on its C library's
// correctly rounded printf and strtof, with the results and text forms the standard fixes for
// std::to_chars and std::from_chars. Only the overloads Vantor calls. The web build reaches them
// as the std overloads (charconv/charconv, std_charconv.cpp); a native test compares them with libstdc++.
#pragma once

#include <charconv>

namespace sim {

// std::to_chars(first, last, value): the shortest text that reads back as value.
std::to_chars_result FloatToChars(char* first, char* last, float value);
// std::to_chars(first, last, value, format, precision), format general or fixed.
std::to_chars_result FloatToChars(char* first, char* last, double value, std::chars_format format, int precision);
// std::from_chars(first, last, value, format), format general or hex.
std::from_chars_result FloatFromChars(const char* first, const char* last, float& value, std::chars_format format);

}  // namespace sim
