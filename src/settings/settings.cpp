#include "settings/settings.h"

#include "settings/bounds.h"

namespace vantor {

namespace {

constexpr void SetDefault(Settings& settings, const SettingRow& row) {
  switch (row.kind) {
    case SettingKind::Flag: settings.*row.flag = row.defaultValue != 0.0f; break;
    case SettingKind::Number: settings.*row.number = row.defaultValue; break;
    case SettingKind::Heights:
      for (float& height : settings.*row.heights) height = row.defaultValue;
      break;
  }
}

// A default-made record and the table's defaults are the same, so that neither can drift.
constexpr bool RecordHoldsTableDefaults() {
  const Settings made;
  Settings reset;
  for (const SettingRow& row : SettingRows) SetDefault(reset, row);
  for (const SettingRow& row : SettingRows) {
    switch (row.kind) {
      case SettingKind::Flag:
        if (made.*row.flag != reset.*row.flag) return false;
        break;
      case SettingKind::Number:
        if (made.*row.number != reset.*row.number) return false;
        break;
      case SettingKind::Heights:
        for (int32_t i = 0; i < VehicleClassCount; ++i)
          if ((made.*row.heights)[i] != (reset.*row.heights)[i]) return false;
        break;
    }
  }
  return true;
}
static_assert(RecordHoldsTableDefaults());

}  // namespace

void ClampSettings(Settings& settings) {
  for (const SettingRow& row : SettingRows) {
    if (row.kind == SettingKind::Number) {
      settings.*row.number = ClampUpperFirst(settings.*row.number, row.lower, row.upper);
    } else if (row.kind == SettingKind::Heights) {
      for (float& height : settings.*row.heights) height = ClampUpperFirst(height, row.lower, row.upper);
    }
  }
}

void ResetSettings(Settings& settings) {
  for (const SettingRow& row : SettingRows) SetDefault(settings, row);
}

}  // namespace vantor
