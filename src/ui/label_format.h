// Menu row labels: a prefix and a value written into a caller's fixed buffer, cut off like
// snprintf when too long. Locale-free: a game process may run with a comma decimal separator.
#pragma once

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vantor {

constexpr size_t LabelBufferSize = 64;

// Exact digits need value * 10^decimals and its rounding in a double without error: a float
// has 24 significant bits and 100 has 7, so the product fits the double's 53. Below this
// limit the whole part also fits a uint64_t with room to spare.
constexpr float FastFormatLimit = 1048576.0f;
constexpr int32_t FastFormatMaxDecimals = 2;
constexpr uint64_t DecimalScale[FastFormatMaxDecimals + 1] = {1, 10, 100};
// Wide enough for any float in fixed notation with two decimals: 39 digits, sign, point.
constexpr size_t FallbackDigitsSize = 48;

// Appends text at length (below capacity), keeping room for the terminating zero. Returns
// the new length.
inline size_t AppendLabelText(char* buffer, size_t capacity, size_t length, const char* text, size_t count) {
  const size_t room = capacity - 1 - length;
  const size_t copied = count < room ? count : room;
  std::memcpy(buffer + length, text, copied);
  length += copied;
  buffer[length] = '\0';
  return length;
}

inline size_t AppendLabelText(char* buffer, size_t capacity, size_t length, std::string_view text) {
  return AppendLabelText(buffer, capacity, length, text.data(), text.size());
}

// Writes value with the given number of decimals, as printf's "%.<decimals>f" does for the
// float widened to double: correctly rounded, exact halves to even. Returns the length.
inline size_t FormatFixedDigits(char* digits, size_t capacity, float value, int32_t decimals) {
  if (decimals >= 0 && decimals <= FastFormatMaxDecimals && !std::signbit(value) && value < FastFormatLimit) {
    const uint64_t scale = DecimalScale[decimals];
    const double scaled = static_cast<double>(value) * static_cast<double>(scale);
    uint64_t rounded = static_cast<uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(rounded);
    if (fraction > 0.5 || (fraction == 0.5 && (rounded & 1u) != 0)) ++rounded;

    char reversed[FallbackDigitsSize];
    size_t count = 0;
    for (int32_t i = 0; i < decimals; ++i) {
      reversed[count++] = static_cast<char>('0' + rounded % 10);
      rounded /= 10;
    }
    if (decimals > 0) reversed[count++] = '.';
    do {
      reversed[count++] = static_cast<char>('0' + rounded % 10);
      rounded /= 10;
    } while (rounded != 0);
    size_t length = 0;
    while (count > 0 && length + 1 < capacity) digits[length++] = reversed[--count];
    digits[length] = '\0';
    return length;
  }
  // Negative, huge or not a number: the exact general conversion, still locale-free.
  const std::to_chars_result result =
      std::to_chars(digits, digits + capacity - 1, static_cast<double>(value), std::chars_format::fixed, decimals);
  const size_t length = result.ec == std::errc() ? static_cast<size_t>(result.ptr - digits) : 0;
  digits[length] = '\0';
  return length;
}

// prefix followed by value in "%.<decimals>f" form. Returns the length written.
inline size_t FormatNumberLabel(char* buffer, size_t capacity, std::string_view prefix, float value,
                                int32_t decimals) {
  char digits[FallbackDigitsSize];
  const size_t digitCount = FormatFixedDigits(digits, sizeof digits, value, decimals);
  const size_t length = AppendLabelText(buffer, capacity, 0, prefix);
  return AppendLabelText(buffer, capacity, length, digits, digitCount);
}

// prefix followed by "ON" or "OFF".
inline size_t FormatFlagLabel(char* buffer, size_t capacity, std::string_view prefix, bool flag) {
  const size_t length = AppendLabelText(buffer, capacity, 0, prefix);
  return AppendLabelText(buffer, capacity, length, flag ? "ON" : "OFF");
}

}  // namespace vantor
