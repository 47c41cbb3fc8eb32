// The user settings: one record, its defaults and its bounds.
#pragma once

#include <cstdint>

namespace vantor {

constexpr int32_t VehicleClassCount = 22;

constexpr float FovDefault = 80.0f;
constexpr float FovMin = 55.0f;
constexpr float FovMax = 110.0f;
constexpr float HeightDefault = 0.7f;
constexpr float HeightMin = 0.3f;
constexpr float HeightMax = 1.0f;
constexpr float LookSensitivityDefault = 35.0f;
constexpr float LookSensitivityMin = 10.0f;
constexpr float LookSensitivityMax = 80.0f;

// Field order is the order of the settings file. A default-made record holds the defaults.
struct Settings {
  bool ModEnabled = true;
  float FOV = FovDefault;
  float Height[VehicleClassCount] = {HeightDefault, HeightDefault, HeightDefault, HeightDefault, HeightDefault,
                                     HeightDefault, HeightDefault, HeightDefault, HeightDefault, HeightDefault,
                                     HeightDefault, HeightDefault, HeightDefault, HeightDefault, HeightDefault,
                                     HeightDefault, HeightDefault, HeightDefault, HeightDefault, HeightDefault,
                                     HeightDefault, HeightDefault};
  float LookSensitivity = LookSensitivityDefault;
  bool AutoRecenter = true;
  bool DynamicFOV = false;
  bool CornerLean = false;
  bool BetterHookerView = false;
};

// Upper bound first, then the lower one; NaN ends at the lower bound. Flags are left alone.
void ClampSettings(Settings& settings);

// Every field back to its default; the settings file is not touched.
void ResetSettings(Settings& settings);

}  // namespace vantor
