// The settings file "Vantor.ini": key=value lines in the working directory. One reader serves
// the plugin and anyone who wants to explain, line by line, how a file was read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/settings.h"

namespace vantor {

constexpr const char* SettingsFileName = "Vantor.ini";

// What one line of the settings file did.
struct SettingsLine {
  enum class Effect : uint8_t { Empty, NoEquals, UnknownKey, Applied, IndexOutOfRange };
  Effect effect = Effect::Empty;
  std::string_view key;                  // the bytes before the first "="
  std::string_view value;                // the bytes after it
  const SettingRow* setting = nullptr;   // the row the key named (Applied, IndexOutOfRange)
  int32_t heightIndex = -1;              // the entry a "Height_n" key names; -1 for other keys
                                         // and for an index out of range
  float number = 0.0f;                   // the value as read (before a flag's comparison)
  std::size_t numberLength = 0;          // bytes of value the number took (leading blanks
                                         // included); 0: no number, read as 0
};

// Applies one line (its LF and a CR before the LF already removed) to the record. Nothing is
// clamped. A line without "=" is all key.
SettingsLine ReadSettingsLine(Settings& settings, std::string_view line);

// The next line of text as the file is read: up to the next LF, without it and without a CR
// right before it; a last line without LF counts. Advances text past the line.
std::string_view NextSettingsLine(std::string_view& text);

// Every line of text, in order; true when any carried a recognised key (a "Height_" key whose
// index is rejected counts). LoadSettings is this over the file's bytes.
bool ReadSettingsText(Settings& settings, std::string_view text);

constexpr std::size_t NumberTextCapacity = 16;  // printf "%.6g" of any float
constexpr std::size_t HeightIndexCapacity = 3;  // "_" and at most two digits
static_assert(VehicleClassCount <= 100);

// Bytes of a save at most: per line its key, "=", a number and CR LF; a "Height_n" line more.
constexpr std::size_t SaveTextBound() {
  std::size_t bytes = 0;
  for (const SettingRow& row : SettingRows) {
    const std::size_t line = row.key.size() + 1 + NumberTextCapacity + 2;
    bytes += row.kind == SettingKind::Heights ? VehicleClassCount * (line + HeightIndexCapacity) : line;
  }
  return bytes;
}
constexpr std::size_t SettingsTextCapacity = SaveTextBound();

// The 29 lines a save writes (a Heights row gives one per vehicle class), CR LF after each,
// the same bytes on every platform and in every locale. out must hold SettingsTextCapacity
// bytes; returns the length.
std::size_t WriteSettingsText(const Settings& settings, char* out);

// Reads the file over the record; fields the file does not name keep their values, and
// nothing is clamped. True when the file opened and ReadSettingsText found a recognised key.
bool LoadSettings(Settings& settings);

// Writes the 29 lines to a temporary beside the file, flushes it to disk and puts it in the
// file's place atomically; when SettingsFileName is a symbolic link, the file it points to is
// replaced and the link stays. True only when all of that succeeded. On failure the temporary
// is removed and the old file stays byte for byte; an existing file that cannot be opened for
// writing (read-only, a directory) fails the save before anything is written.
bool SaveSettings(const Settings& settings);

}  // namespace vantor
