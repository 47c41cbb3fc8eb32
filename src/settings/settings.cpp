#include "settings/settings.h"

#include "settings/bounds.h"

namespace vantor {

void ClampSettings(Settings& settings) {
  settings.FOV = ClampUpperFirst(settings.FOV, FovMin, FovMax);
  for (float& height : settings.Height) height = ClampUpperFirst(height, HeightMin, HeightMax);
  settings.LookSensitivity = ClampUpperFirst(settings.LookSensitivity, LookSensitivityMin, LookSensitivityMax);
}

void ResetSettings(Settings& settings) { settings = Settings{}; }

}  // namespace vantor
