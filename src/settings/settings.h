// The user settings: one record, and one table row for each setting that says how the
// settings file, the menu and the bounds treat it.
#pragma once

#include <cstdint>
#include <string_view>

namespace vantor {

constexpr int32_t VehicleClassCount = 22;
// The vehicle class whose Height entry the camera and the menu use until a vehicle is seen.
constexpr int32_t StartHeightClass = 1;

constexpr float FovDefault = 80.0f;
constexpr float FovMin = 55.0f;
constexpr float FovMax = 110.0f;
constexpr float HeightDefault = 0.7f;
constexpr float HeightMin = 0.3f;
constexpr float HeightMax = 1.0f;
constexpr float LookSensitivityDefault = 35.0f;
constexpr float LookSensitivityMin = 10.0f;
constexpr float LookSensitivityMax = 80.0f;

// Field order is the order of the settings file. The defaults are the table's (below): a new
// record holds them, and a field without a row does not compile (see DefaultSettings).
struct Settings {
  constexpr Settings();
  bool ModEnabled;
  float FOV;
  float Height[VehicleClassCount];
  float LookSensitivity;
  bool AutoRecenter;
  bool DynamicFOV;
  bool CornerLean;
  bool BetterHookerView;
};

enum class SettingKind : uint8_t {
  Flag,     // read as a number, on when neither zero nor NaN; written 1 or 0; the menu flips it
  Number,   // read as strtof reads it; written as printf "%.6g"; the menu steps it within bounds
  Heights,  // a number per vehicle class: "Height_n" names entry n and is written for each,
            // "Height" (read only) sets them all; the menu shows the current class's entry
            // and sets every entry from it
};

struct SettingRow {
  std::string_view key;  // in the settings file
  SettingKind kind;
  bool Settings::*flag = nullptr;                          // Flag
  float Settings::*number = nullptr;                       // Number
  float (Settings::*heights)[VehicleClassCount] = nullptr;  // Heights
  float defaultValue = 0.0f;                               // a Flag's: 1 on, 0 off
  float lower = 0.0f;                                      // bounds of Number and Heights
  float upper = 0.0f;
  int32_t menuRow = 0;
  float menuStep = 0.0f;         // one Left or Right press, Number and Heights
  std::string_view label;        // the menu label's text before the value
  int32_t labelDecimals = 0;     // Number and Heights
};

// Every setting, in the order of the settings file.
inline constexpr SettingRow SettingRows[] = {
    {.key = "ModEnabled", .kind = SettingKind::Flag, .flag = &Settings::ModEnabled, .defaultValue = 1.0f,
     .menuRow = 0, .label = "Vantor: "},
    {.key = "FOV", .kind = SettingKind::Number, .number = &Settings::FOV, .defaultValue = FovDefault,
     .lower = FovMin, .upper = FovMax, .menuRow = 1, .menuStep = 2.5f, .label = "FOV: ", .labelDecimals = 1},
    {.key = "Height", .kind = SettingKind::Heights, .heights = &Settings::Height, .defaultValue = HeightDefault,
     .lower = HeightMin, .upper = HeightMax, .menuRow = 2, .menuStep = 0.02f, .label = "Height: ",
     .labelDecimals = 2},
    {.key = "LookSensitivity", .kind = SettingKind::Number, .number = &Settings::LookSensitivity,
     .defaultValue = LookSensitivityDefault, .lower = LookSensitivityMin, .upper = LookSensitivityMax,
     .menuRow = 6, .menuStep = 5.0f, .label = "Look Sensitivity: ", .labelDecimals = 0},
    {.key = "AutoRecenter", .kind = SettingKind::Flag, .flag = &Settings::AutoRecenter, .defaultValue = 1.0f,
     .menuRow = 3, .label = "Auto-Recenter: "},
    {.key = "DynamicFOV", .kind = SettingKind::Flag, .flag = &Settings::DynamicFOV, .menuRow = 7,
     .label = "Dynamic FOV: "},
    {.key = "CornerLean", .kind = SettingKind::Flag, .flag = &Settings::CornerLean, .menuRow = 8,
     .label = "Corner Lean: "},
    {.key = "BetterHookerView", .kind = SettingKind::Flag, .flag = &Settings::BetterHookerView, .menuRow = 9,
     .label = "Better Hooker View: "},
};

constexpr Settings::Settings() {
  for (const SettingRow& row : SettingRows) {
    switch (row.kind) {
      case SettingKind::Flag: this->*row.flag = row.defaultValue != 0.0f; break;
      case SettingKind::Number: this->*row.number = row.defaultValue; break;
      case SettingKind::Heights:
        for (float& height : this->*row.heights) height = row.defaultValue;
        break;
    }
  }
}

// The defaults as a constant: a field that no row sets would leave it incomplete, which does
// not compile.
inline constexpr Settings DefaultSettings{};

// Upper bound first, then the lower one; NaN ends at the lower bound. Flags are left alone.
void ClampSettings(Settings& settings);

// Every field back to its default; the settings file is not touched.
void ResetSettings(Settings& settings);

}  // namespace vantor
