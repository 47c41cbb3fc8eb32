#include "settings/settings.h"

#include "settings/bounds.h"

namespace vantor {

void ClampSettings(Settings& settings) {
  for (const SettingRow& row : SettingRows) {
    if (row.kind == SettingKind::Number) {
      settings.*row.number = ClampNanToLower(settings.*row.number, row.lower, row.upper);
    } else if (row.kind == SettingKind::Heights) {
      for (float& height : settings.*row.heights) height = ClampNanToLower(height, row.lower, row.upper);
    }
  }
}

void ResetSettings(Settings& settings) { settings = DefaultSettings; }

}  // namespace vantor
