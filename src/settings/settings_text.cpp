// The settings file's text: reading lines over the record and writing the record as lines,
// independent of the process's locale and of the C runtime. Numbers are read as strtof reads
// them in the C locale and written as printf "%.6g" writes them, both through std::from_chars
// and std::to_chars, whose results the standard fixes, so every build agrees byte for byte.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "settings/settings_file.h"

namespace vantor {

namespace {

constexpr char LineFeed = '\n';
constexpr char CarriageReturn = '\r';
constexpr std::string_view LineEnd = "\r\n";
constexpr char HeightIndexMark = '_';  // "Height_3": the key, this mark, the index
constexpr int64_t ExponentSaturation = std::numeric_limits<int64_t>::max() / 4;
constexpr int64_t BitsPerHexDigit = 4;

// The C locale's white space, spelt out so that no locale is consulted.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsSign(char c) { return c == '+' || c == '-'; }
bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Skips white space and one sign; true when the sign was "-".
bool SkipBlanksAndSign(const char*& p, const char* end) {
  while (p != end && IsBlank(*p)) ++p;
  if (p == end || !IsSign(*p)) return false;
  return *p++ == '-';
}

// from_chars leaves an out-of-range value unset; strtof gives an infinity when the number is
// too large and a zero when too small. Which it is follows from where the first significant
// digit stands (in bits for hex) and the exponent, and out of range the two are never close.
bool TooLarge(std::string_view number, bool hex) {
  const std::size_t mark = number.find_first_of(hex ? "pP" : "eE");
  int64_t exponent = 0;
  if (mark != std::string_view::npos) {
    const char* p = number.data() + mark + 1;
    const char* end = number.data() + number.size();
    const bool negative = SkipBlanksAndSign(p, end);
    if (std::from_chars(p, end, exponent).ec != std::errc{}) exponent = ExponentSaturation;
    if (negative) exponent = -exponent;
  }
  const std::string_view digits = number.substr(0, mark);
  const std::size_t point = std::min(digits.find('.'), digits.size());
  const std::size_t first = digits.find_first_not_of("0.");
  const int64_t position =
      first < point ? static_cast<int64_t>(point - first) : -static_cast<int64_t>(first - point);
  return position * (hex ? BitsPerHexDigit : 1) + exponent > 0;
}

struct NumberRead {
  float value = 0.0f;
  std::size_t length = 0;  // 0: no number
};

// strtof in the C locale: white space, a sign, then a decimal or "0x" hexadecimal number, an
// infinity or a NaN, case-insensitive; what follows is ignored. No number gives 0.
NumberRead ReadNumber(std::string_view text) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* p = begin;
  const bool negative = SkipBlanksAndSign(p, end);
  if (p == end || IsSign(*p)) return {};  // from_chars would take a second "-"
  float value = 0.0f;
  bool hex = false;
  std::from_chars_result result{p, std::errc::invalid_argument};
  if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && (IsHexDigit(p[2]) || p[2] == '.')) {
    result = std::from_chars(p + 2, end, value, std::chars_format::hex);
    hex = result.ec != std::errc::invalid_argument;
  }
  if (!hex) result = std::from_chars(p, end, value, std::chars_format::general);  // "0xg" is the "0"
  if (result.ec == std::errc::invalid_argument) return {};
  if (result.ec == std::errc::result_out_of_range) {
    const char* number = hex ? p + 2 : p;
    value = TooLarge({number, static_cast<std::size_t>(result.ptr - number)}, hex)
                ? std::numeric_limits<float>::infinity()
                : 0.0f;
  }
  return {negative ? -value : value, static_cast<std::size_t>(result.ptr - begin)};
}

// The index after "Height_" as atoi reads it (white space, a sign, the digits up to the first
// other byte, no digits giving 0), or -1 outside the vehicle classes, beyond 32 bits included.
int32_t ReadHeightIndex(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = SkipBlanksAndSign(p, end);
  if (p != end && IsSign(*p)) return 0;  // from_chars would take a second "-"
  int32_t index = 0;
  const std::errc error = std::from_chars(p, end, index).ec;
  if (error == std::errc::result_out_of_range) return -1;
  if (error != std::errc{} || index == 0) return 0;
  return negative || index >= VehicleClassCount ? -1 : index;
}

const SettingRow* FindRow(std::string_view key) {
  for (const SettingRow& row : SettingRows) {
    if (key == row.key) return &row;
    if (row.kind == SettingKind::Heights && key.size() > row.key.size() && key.starts_with(row.key) &&
        key[row.key.size()] == HeightIndexMark)
      return &row;
  }
  return nullptr;
}

char* Append(char* out, std::string_view text) {
  for (const char c : text) *out++ = c;
  return out;
}

char* AppendNumber(char* out, float value) {
  return std::to_chars(out, out + NumberTextCapacity, static_cast<double>(value), std::chars_format::general, 6)
      .ptr;
}

// Puts the line's number in the field its row names: "Height" in every entry, "Height_n" in
// entry n alone, unless n is out of range.
void ApplyNumber(Settings& settings, SettingsLine& read) {
  const SettingRow& row = *read.setting;
  switch (row.kind) {
    case SettingKind::Flag: settings.*row.flag = read.number != 0.0f && !std::isnan(read.number); break;
    case SettingKind::Number: settings.*row.number = read.number; break;
    case SettingKind::Heights:
      if (read.key.size() == row.key.size()) {
        for (float& height : settings.*row.heights) height = read.number;
        break;
      }
      read.heightIndex = ReadHeightIndex(read.key.substr(row.key.size() + 1));
      if (read.heightIndex < 0) {
        read.effect = SettingsLine::Effect::IndexOutOfRange;
        break;
      }
      (settings.*row.heights)[read.heightIndex] = read.number;
      break;
  }
}

}  // namespace

SettingsLine ReadSettingsLine(Settings& settings, std::string_view line) {
  SettingsLine read;
  if (line.empty()) return read;
  const std::size_t equals = line.find('=');
  read.key = line.substr(0, equals);
  if (equals == std::string_view::npos) {
    read.effect = SettingsLine::Effect::NoEquals;
    return read;
  }
  read.value = line.substr(equals + 1);
  read.setting = FindRow(read.key);
  if (read.setting == nullptr) {
    read.effect = SettingsLine::Effect::UnknownKey;
    return read;
  }
  const NumberRead number = ReadNumber(read.value);
  read.number = number.value;
  read.numberLength = number.length;
  read.effect = SettingsLine::Effect::Applied;
  ApplyNumber(settings, read);
  return read;
}

std::string_view NextSettingsLine(std::string_view& text) {
  const std::size_t end = text.find(LineFeed);
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  if (end != std::string_view::npos && line.ends_with(CarriageReturn)) line.remove_suffix(1);
  return line;
}

bool ReadSettingsText(Settings& settings, std::string_view text) {
  bool recognised = false;
  while (!text.empty()) {
    // A rejected "Height_" index counts: the key was one the file knows.
    if (ReadSettingsLine(settings, NextSettingsLine(text)).setting != nullptr) recognised = true;
  }
  return recognised;
}

std::size_t WriteSettingsText(const Settings& settings, char* out) {
  char* const start = out;
  for (const SettingRow& row : SettingRows) {
    switch (row.kind) {
      case SettingKind::Flag:
        out = Append(Append(out, row.key), settings.*row.flag ? "=1" : "=0");
        break;
      case SettingKind::Number:
        out = AppendNumber(Append(Append(out, row.key), "="), settings.*row.number);
        break;
      case SettingKind::Heights:
        for (int32_t i = 0; i < VehicleClassCount; ++i) {
          out = Append(out, row.key);
          *out++ = HeightIndexMark;
          out = std::to_chars(out, out + HeightIndexCapacity, i).ptr;
          out = AppendNumber(Append(out, "="), (settings.*row.heights)[i]);
          if (i + 1 < VehicleClassCount) out = Append(out, LineEnd);
        }
        break;
    }
    out = Append(out, LineEnd);
  }
  return static_cast<std::size_t>(out - start);
}

}  // namespace vantor
