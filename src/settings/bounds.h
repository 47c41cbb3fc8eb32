// The plugin's one clamp rule, for the settings, the menu's steps and the camera: the upper
// bound is tested first, then the larger of the value and the lower bound is taken. NaN lands
// on the lower bound, so a bad value can neither pass nor stick in a smoothed field.
#pragma once

namespace vantor {

inline float ClampUpperFirst(float value, float lower, float upper) {
  if (value > upper) return upper;
  if (!(value >= lower)) return lower;
  return value;
}

}  // namespace vantor
