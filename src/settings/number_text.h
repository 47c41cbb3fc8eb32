// Numbers as the settings file holds them, independent of the process's locale and of the
// C runtime: read as strtof reads them in the C locale, written as printf "%.6g" writes them
// in the C locale. Both rest on std::from_chars and std::to_chars, whose results the standard
// fixes, so the Linux and the Windows (MinGW-w64, msvcrt) builds agree byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantor {

// Reads one number a byte at a time, with the rules of strtof in the C locale: leading white
// space skipped, an optional sign, then the longest leading part that forms a decimal or a
// hexadecimal ("0x") floating-point number, an infinity ("inf", "infinity") or a NaN ("nan",
// "nan(chars)"), all case-insensitive; whatever follows is ignored. No number gives 0, a
// magnitude too large an infinity, one too small what strtof gives (a subnormal or a zero).
// Fixed size, no allocation: only the first DigitLimit significant digits are kept, the rest
// is folded into one "sticky" digit, which rounds exactly as the full text would.
class NumberReader {
 public:
  // Takes the next byte of the text. Returns false once the number has ended; later bytes are
  // ignored, so a caller may go on feeding the rest of its text.
  bool Put(char byte);
  // The number read from the bytes put so far.
  float Value() const;

 private:
  enum class Phase : uint8_t {
    Blank,          // leading white space
    Start,          // after the sign: the subject has not begun
    LeadingZero,    // a "0" that may begin "0x"
    IntegerDigits,  // digits before the point
    PointFirst,     // a point with no digit before it: a digit must follow
    FractionDigits,
    ExponentMark,  // "e" (or "p" in hex) seen: digits must follow, else it is not part of the number
    ExponentSign,
    ExponentDigits,
    HexStart,       // "0x" seen: a hex digit or a point must follow, else the number is the "0"
    HexPointFirst,  // "0x." seen: a hex digit must follow
    HexIntegerDigits,
    HexFractionDigits,
    Infinity,       // matching "inf" / "infinity"
    NotANumber,     // matching "nan"
    NanChars,       // inside "nan(": letters, digits and "_" up to ")"
    Done,
  };
  enum class Kind : uint8_t { None, Finite, Infinite, NaN };

  static constexpr std::size_t DigitLimit = 200;  // a float needs at most 113 to round right

  void Digit(char digit, bool beforePoint);

  Phase phase_ = Phase::Blank;
  Kind kind_ = Kind::None;
  bool negative_ = false;
  bool hex_ = false;
  bool sticky_ = false;           // a non-zero digit was dropped past DigitLimit
  bool exponentNegative_ = false;
  uint8_t matched_ = 0;           // letters of "infinity" or "nan" matched so far
  std::size_t digitCount_ = 0;    // significant digits kept in digits_
  int64_t pointPosition_ = 0;     // the value is 0.digits_ times base to this power
  int64_t exponent_ = 0;          // the written exponent, saturated
  char digits_[DigitLimit] = {};
};

// strtof in the C locale, over a whole text.
float ReadNumber(std::string_view text);

// The float widened to double and written as printf "%.6g" does in the C locale ("80", "0.72",
// "1e-05", "inf", "-nan" and so on). Writes no terminator; returns the end of what was written.
// 16 bytes are always enough.
constexpr std::size_t NumberTextCapacity = 16;
char* WriteNumber(char* out, float value);

}  // namespace vantor
