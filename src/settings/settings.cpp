#include "settings/settings.h"

namespace vantor {

namespace {

// Written so that NaN fails the first test and the negated second one, landing on the lower bound.
float ClampToBounds(float value, float lower, float upper) {
  if (value > upper) return upper;
  if (!(value >= lower)) return lower;
  return value;
}

}  // namespace

void ClampSettings(Settings& settings) {
  settings.FOV = ClampToBounds(settings.FOV, FovMin, FovMax);
  for (float& height : settings.Height) height = ClampToBounds(height, HeightMin, HeightMax);
  settings.LookSensitivity = ClampToBounds(settings.LookSensitivity, LookSensitivityMin, LookSensitivityMax);
}

void ResetSettings(Settings& settings) { settings = Settings{}; }

}  // namespace vantor
