#include "settings/number_text.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace vantor {

namespace {

// The C locale's classes, spelt out so that no locale is consulted.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr char InfinityWord[] = "infinity";  // "inf" already counts; "inity" may follow
constexpr uint8_t InfinityShort = 3;
constexpr uint8_t InfinityLong = 8;
constexpr char NanWord[] = "nan";
constexpr uint8_t NanLength = 3;

// Beyond these every value is far outside float's range, so saturating changes nothing.
constexpr int64_t ExponentSaturation = 1'000'000'000'000;
constexpr int64_t ExponentLimit = 99'999;

}  // namespace

void NumberReader::Digit(char digit, bool beforePoint) {
  kind_ = Kind::Finite;
  if (digitCount_ == 0 && digit == '0') {
    if (!beforePoint) --pointPosition_;  // 0.000d: each zero after the point lowers the scale
    return;                              // leading zeros before the point carry nothing
  }
  if (beforePoint) ++pointPosition_;
  if (digitCount_ < DigitLimit) {
    digits_[digitCount_++] = digit;
  } else if (digit != '0') {
    sticky_ = true;
  }
}

bool NumberReader::Put(char byte) {
  switch (phase_) {
    case Phase::Blank:
      if (IsBlank(byte)) return true;
      if (byte == '+' || byte == '-') {
        negative_ = byte == '-';
        phase_ = Phase::Start;
        return true;
      }
      [[fallthrough]];
    case Phase::Start:
      if (byte == '0') {
        Digit(byte, true);
        phase_ = Phase::LeadingZero;
        return true;
      }
      if (IsDigit(byte)) {
        Digit(byte, true);
        phase_ = Phase::IntegerDigits;
        return true;
      }
      if (byte == '.') {
        phase_ = Phase::PointFirst;
        return true;
      }
      if (Lower(byte) == 'i') {
        matched_ = 1;
        phase_ = Phase::Infinity;
        return true;
      }
      if (Lower(byte) == 'n') {
        matched_ = 1;
        phase_ = Phase::NotANumber;
        return true;
      }
      break;
    case Phase::LeadingZero:
      if (Lower(byte) == 'x') {
        // The "0" stands as the number unless hex digits follow.
        hex_ = true;
        phase_ = Phase::HexStart;
        return true;
      }
      phase_ = Phase::IntegerDigits;
      [[fallthrough]];
    case Phase::IntegerDigits:
      if (IsDigit(byte)) {
        Digit(byte, true);
        return true;
      }
      if (byte == '.') {
        phase_ = Phase::FractionDigits;
        return true;
      }
      if (Lower(byte) == 'e') {
        phase_ = Phase::ExponentMark;
        return true;
      }
      break;
    case Phase::PointFirst:
      if (IsDigit(byte)) {
        Digit(byte, false);
        phase_ = Phase::FractionDigits;
        return true;
      }
      break;
    case Phase::FractionDigits:
      if (IsDigit(byte)) {
        Digit(byte, false);
        return true;
      }
      if (Lower(byte) == 'e') {
        phase_ = Phase::ExponentMark;
        return true;
      }
      break;
    case Phase::HexStart:
      if (IsHexDigit(byte)) {
        Digit(byte, true);
        phase_ = Phase::HexIntegerDigits;
        return true;
      }
      if (byte == '.') {
        phase_ = Phase::HexPointFirst;
        return true;
      }
      break;
    case Phase::HexPointFirst:
      if (IsHexDigit(byte)) {
        Digit(byte, false);
        phase_ = Phase::HexFractionDigits;
        return true;
      }
      break;
    case Phase::HexIntegerDigits:
      if (IsHexDigit(byte)) {
        Digit(byte, true);
        return true;
      }
      if (byte == '.') {
        phase_ = Phase::HexFractionDigits;
        return true;
      }
      if (Lower(byte) == 'p') {
        phase_ = Phase::ExponentMark;
        return true;
      }
      break;
    case Phase::HexFractionDigits:
      if (IsHexDigit(byte)) {
        Digit(byte, false);
        return true;
      }
      if (Lower(byte) == 'p') {
        phase_ = Phase::ExponentMark;
        return true;
      }
      break;
    case Phase::ExponentMark:
      // An exponent mark without digits after it is not part of the number.
      if (byte == '+' || byte == '-') {
        exponentNegative_ = byte == '-';
        phase_ = Phase::ExponentSign;
        return true;
      }
      [[fallthrough]];
    case Phase::ExponentSign:
      if (!IsDigit(byte)) {
        exponentNegative_ = false;
        break;
      }
      phase_ = Phase::ExponentDigits;
      [[fallthrough]];
    case Phase::ExponentDigits:
      if (IsDigit(byte)) {
        if (exponent_ < ExponentSaturation) exponent_ = exponent_ * 10 + (byte - '0');
        return true;
      }
      break;
    case Phase::Infinity:
      if (Lower(byte) == InfinityWord[matched_]) {
        ++matched_;
        if (matched_ == InfinityShort) kind_ = Kind::Infinite;
        if (matched_ == InfinityLong) {
          phase_ = Phase::Done;
          return false;
        }
        return true;
      }
      break;
    case Phase::NotANumber:
      if (matched_ < NanLength) {
        if (Lower(byte) == NanWord[matched_]) {
          ++matched_;
          if (matched_ == NanLength) kind_ = Kind::NaN;
          return true;
        }
        break;
      }
      if (byte == '(') {
        phase_ = Phase::NanChars;
        return true;
      }
      break;
    case Phase::NanChars:
      // "nan(" and the characters after it; without a closing ")" the number is the "nan".
      if (IsLetter(byte) || IsDigit(byte) || byte == '_') return true;
      break;
    case Phase::Done:
      return false;
  }
  phase_ = Phase::Done;
  return false;
}

float NumberReader::Value() const {
  float value = 0.0f;
  switch (kind_) {
    case Kind::None:
      return 0.0f;  // no conversion: the sign does not apply
    case Kind::NaN:
      value = std::numeric_limits<float>::quiet_NaN();
      break;
    case Kind::Infinite:
      value = std::numeric_limits<float>::infinity();
      break;
    case Kind::Finite:
      if (digitCount_ == 0) break;  // only zeros
      {
        // The kept digits as "0.<digits>[1]e<scale>" (or "p" for hex, where the scale counts
        // bits), which from_chars rounds exactly as the whole text would round.
        const int64_t written = exponentNegative_ ? -exponent_ : exponent_;
        int64_t scale = (hex_ ? 4 * pointPosition_ : pointPosition_) + written;
        if (scale > ExponentLimit) scale = ExponentLimit;
        if (scale < -ExponentLimit) scale = -ExponentLimit;
        char text[DigitLimit + 32];
        char* end = text;
        *end++ = '0';
        *end++ = '.';
        for (std::size_t i = 0; i < digitCount_; ++i) *end++ = digits_[i];
        if (sticky_) *end++ = '1';
        *end++ = hex_ ? 'p' : 'e';
        end = std::to_chars(end, text + sizeof text, scale).ptr;
        const std::from_chars_result result =
            std::from_chars(text, end, value, hex_ ? std::chars_format::hex : std::chars_format::general);
        if (result.ec == std::errc::result_out_of_range) {
          // Left unset by from_chars: the scale tells overflow (an infinity) from underflow (zero).
          value = scale > 0 ? std::numeric_limits<float>::infinity() : 0.0f;
        } else if (result.ec != std::errc{}) {
          value = 0.0f;
        }
      }
      break;
  }
  return negative_ ? -value : value;
}

float ReadNumber(std::string_view text) {
  NumberReader reader;
  for (const char byte : text)
    if (!reader.Put(byte)) break;
  return reader.Value();
}

char* WriteNumber(char* out, float value) {
  return std::to_chars(out, out + NumberTextCapacity, static_cast<double>(value), std::chars_format::general, 6).ptr;
}

}  // namespace vantor
