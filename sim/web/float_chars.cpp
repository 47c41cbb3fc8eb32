#include "sim/web/float_chars.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <system_error>

#include "sim/core/float_bits.h"

namespace sim {

namespace {

constexpr int MaxFloatDigits = 9;          // a float reads back from nine significant digits
constexpr size_t ScientificCapacity = 32;  // "-1.23456789e-45" and room to spare
constexpr size_t BufferCapacity = 64;      // the fixed form of a float written shortest: 39 digits and a sign
// from_chars' NaNs: the decimal form keeps the sign, the hex form gives this one always.
constexpr uint32_t HexNotANumberBits = 0x7FC00001u;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsNameChar(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }

bool StartsWithIgnoringCase(const char* first, const char* last, const char* lower) {
  for (; *lower != '\0'; ++lower, ++first)
    if (first == last || (*first != *lower && *first != *lower - ('a' - 'A'))) return false;
  return true;
}

// printf's text when it fits in [first, last); value_too_large otherwise, as to_chars answers.
template <typename... Values>
std::to_chars_result Printed(char* first, char* last, const char* format, Values... values) {
  const int length = std::snprintf(nullptr, 0, format, values...);
  if (length < 0 || length > last - first) return {last, std::errc::value_too_large};
  std::string text(static_cast<size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, format, values...);
  std::memcpy(first, text.data(), text.size());
  return {first + length, std::errc{}};
}

// "inf", "infinity" and "nan" with an optional "(chars)", any case, after an optional "-".
std::from_chars_result ReadSpecial(const char* first, const char* last, float& value, bool hex) {
  const char* p = first;
  const bool negative = p != last && *p == '-';
  if (negative) ++p;
  if (StartsWithIgnoringCase(p, last, "inf")) {
    p += 3;
    if (StartsWithIgnoringCase(p, last, "inity")) p += 5;
    value = negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return {p, std::errc{}};
  }
  if (!StartsWithIgnoringCase(p, last, "nan")) return {first, std::errc::invalid_argument};
  p += 3;
  if (p != last && *p == '(') {
    const char* q = p + 1;
    while (q != last && IsNameChar(*q)) ++q;
    if (q != last && *q == ')') p = q + 1;
  }
  if (hex) {
    value = FloatOfBits(HexNotANumberBits);
  } else {
    value = negative ? -std::numeric_limits<float>::quiet_NaN() : std::numeric_limits<float>::quiet_NaN();
  }
  return {p, std::errc{}};
}

// strtof on exactly the text matched, with from_chars' answers out of range: the value is left
// as it was when the number is too large for a float, or nonzero and too small for one.
std::from_chars_result Convert(const std::string& text, bool anyNonZeroDigit, const char* end, float& value) {
  const float converted = std::strtof(text.c_str(), nullptr);
  if (std::isinf(converted) || (converted == 0.0f && anyNonZeroDigit)) return {end, std::errc::result_out_of_range};
  value = converted;
  return {end, std::errc{}};
}

// Digits with at most one point among them, at least one digit. Returns the end, or begin when
// there is no digit.
const char* ScanMantissa(const char* begin, const char* last, bool hex, bool& anyNonZeroDigit) {
  const char* p = begin;
  bool digits = false, point = false;
  for (; p != last; ++p) {
    if (*p == '.' && !point) {
      point = true;
    } else if (hex ? IsHexDigit(*p) : IsDigit(*p)) {
      digits = true;
      anyNonZeroDigit |= *p != '0';
    } else {
      break;
    }
  }
  return digits ? p : begin;
}

std::from_chars_result ReadDecimal(const char* first, const char* last, float& value, std::chars_format format) {
  const char* p = first;
  if (p != last && *p == '-') ++p;
  bool anyNonZeroDigit = false;
  const char* end = ScanMantissa(p, last, false, anyNonZeroDigit);
  if (end == p) return ReadSpecial(first, last, value, false);
  const bool scientific = (format & std::chars_format::scientific) != std::chars_format{};
  const bool fixed = (format & std::chars_format::fixed) != std::chars_format{};
  if (scientific && end != last && (*end == 'e' || *end == 'E')) {
    const char* q = end + 1;
    if (q != last && (*q == '-' || *q == '+')) ++q;
    if (q != last && IsDigit(*q)) {
      while (q != last && IsDigit(*q)) ++q;
      end = q;
    } else if (!fixed) {
      return {first, std::errc::invalid_argument};
    }
  } else if (scientific && !fixed) {
    return {first, std::errc::invalid_argument};
  }
  return Convert(std::string(first, end), anyNonZeroDigit, end, value);
}

// A hexadecimal number without its "0x": the mantissa, then "p", an optional "+" and a decimal
// exponent as from_chars reads an int (so "-" may follow the "+"). strtof reads it with the
// "0x" put back.
std::from_chars_result ReadHex(const char* first, const char* last, float& value) {
  const char* p = first;
  const bool negative = p != last && *p == '-';
  if (negative) ++p;
  if (p != last && (*p == 'i' || *p == 'I' || *p == 'n' || *p == 'N')) return ReadSpecial(first, last, value, true);
  bool anyNonZeroDigit = false;
  const char* const mantissaEnd = ScanMantissa(p, last, true, anyNonZeroDigit);
  if (mantissaEnd == p) return {first, std::errc::invalid_argument};
  std::string text = negative ? "-0x" : "0x";
  text.append(p, mantissaEnd);
  const char* end = mantissaEnd;
  if (end != last && (*end == 'p' || *end == 'P')) {
    const char* q = end + 1;
    if (q != last && *q == '+') ++q;
    const char* const exponentStart = q;
    if (q != last && *q == '-') ++q;
    if (q != last && IsDigit(*q)) {
      while (q != last && IsDigit(*q)) ++q;
      text.append("p").append(exponentStart, q);
      end = q;
    }
  }
  return Convert(text, anyNonZeroDigit, end, value);
}

// The text of value with `digits` significant digits in printf's "%e" form that reads back as
// value, or an empty text. The nearest such text comes first; at a power of two the values that
// read back reach twice as far above it as below, so the next text away from zero is tried too.
std::string ReadBackText(float value, int digits) {
  char text[ScientificCapacity];
  std::snprintf(text, sizeof text, "%.*e", digits - 1, static_cast<double>(value));
  if (std::strtof(text, nullptr) == value) return text;
  int binaryExponent = 0;
  if (std::frexp(value, &binaryExponent) != std::copysign(0.5f, value)) return "";
  const double step = std::pow(10.0, std::atoi(std::strchr(text, 'e') + 1) - (digits - 1));
  std::snprintf(text, sizeof text, "%.*e", digits - 1, std::strtod(text, nullptr) + std::copysign(step, value));
  return std::strtof(text, nullptr) == value ? text : "";
}

}  // namespace

std::to_chars_result FloatToChars(char* first, char* last, float value) {
  if (!std::isfinite(value)) return Printed(first, last, "%g", static_cast<double>(value));
  // The fewest significant digits, searched by halves (a text that reads back has one with a
  // digit more beside it that does too), then the shorter of the two forms, ties to the fixed one.
  int fewest = 1, most = MaxFloatDigits;
  std::string scientific = ReadBackText(value, most);
  while (fewest < most) {
    const int digits = (fewest + most) / 2;
    std::string text = ReadBackText(value, digits);
    if (text.empty()) {
      fewest = digits + 1;
    } else {
      most = digits;
      scientific = std::move(text);
    }
  }
  const size_t mark = scientific.find('e');
  const int exponent = std::atoi(scientific.c_str() + mark + 1);
  // The fixed form of the same digits; a whole number is written exactly, which of the texts of
  // that length is the nearest.
  std::string fixed;
  if (exponent >= most - 1) {
    fixed.resize(BufferCapacity);
    fixed.resize(static_cast<size_t>(std::snprintf(fixed.data(), fixed.size(), "%.0f", static_cast<double>(value))));
  } else {
    const bool negative = scientific[0] == '-';
    std::string digits = scientific.substr(negative ? 1 : 0, mark - (negative ? 1 : 0));
    if (digits.size() > 1) digits.erase(1, 1);  // the point
    if (exponent < 0) digits.insert(0, static_cast<size_t>(-exponent), '0');
    digits.insert(static_cast<size_t>(exponent < 0 ? 1 : exponent + 1), 1, '.');
    fixed = (negative ? "-" : "") + digits;
  }
  return Printed(first, last, "%s", (fixed.size() <= scientific.size() ? fixed : scientific).c_str());
}

std::to_chars_result FloatToChars(char* first, char* last, double value, std::chars_format format, int precision) {
  return Printed(first, last, format == std::chars_format::fixed ? "%.*f" : "%.*g", precision, value);
}

std::from_chars_result FloatFromChars(const char* first, const char* last, float& value, std::chars_format format) {
  if (format == std::chars_format::hex) return ReadHex(first, last, value);
  return ReadDecimal(first, last, value, format);
}

}  // namespace sim
