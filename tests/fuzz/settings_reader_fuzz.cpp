// Arbitrary bytes as the settings file's text: every line's parts lie within it, after reading
// and clamping every number is within its bounds, and writing is a fixed point (write, read,
// write again gives the same bytes).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "settings/settings.h"
#include "settings/settings_file.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "settings fuzz: %s\n", what);
    std::abort();
  }
}

bool Within(float value, const vantor::SettingRow& row) { return value >= row.lower && value <= row.upper; }

// Reads text over the defaults, clamps, and writes the result to out; returns its length.
std::size_t ReadClampWrite(std::string_view text, char* out) {
  vantor::Settings settings;
  vantor::ReadSettingsText(settings, text);
  vantor::ClampSettings(settings);
  for (const vantor::SettingRow& row : vantor::SettingRows) {
    if (row.kind == vantor::SettingKind::Number) Check(Within(settings.*row.number, row), "a number out of bounds");
    if (row.kind == vantor::SettingKind::Heights)
      for (const float height : settings.*row.heights) Check(Within(height, row), "a height out of bounds");
  }
  return vantor::WriteSettingsText(settings, out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string_view rest = text;
  while (!rest.empty()) {
    vantor::Settings settings;
    const std::string_view line = vantor::NextSettingsLine(rest);
    const vantor::SettingsLine read = vantor::ReadSettingsLine(settings, line);
    Check(read.key.size() + read.value.size() <= line.size(), "a line's key and value exceed it");
    Check(read.numberLength <= read.value.size(), "a number longer than its value");
  }

  char first[vantor::SettingsTextCapacity];
  char second[vantor::SettingsTextCapacity];
  const std::size_t firstLength = ReadClampWrite(text, first);
  const std::size_t secondLength = ReadClampWrite({first, firstLength}, second);
  Check(std::string_view(first, firstLength) == std::string_view(second, secondLength),
        "a second write gave other bytes");
  return 0;
}
