// The plugin's one clamp rule, for the settings, the menu's steps and the camera: the result is
// always within the bounds, and a NaN ends at the lower one, so that a bad value can neither
// pass nor stick in a smoothed field. The upper bound is tested first.
#pragma once

namespace vantor {

inline float ClampNanToLower(float value, float lower, float upper) {
  if (value > upper) return upper;
  if (!(value >= lower)) return lower;
  return value;
}

}  // namespace vantor
