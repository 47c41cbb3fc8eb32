#include "ui/menu.h"

#include "game/keyboard.h"
#include "settings/bounds.h"
#include "settings/settings_file.h"
#include "ui/draw.h"
#include "ui/menu_draw.h"
#include "ui/menu_keys.h"

namespace vantor {

namespace {

constexpr float FovStep = 2.5f;
constexpr float HeightStep = 0.02f;
constexpr float LookSensitivityStep = 5.0f;
constexpr float StepDown = -1.0f;
constexpr float StepUp = 1.0f;
// The class whose entry the camera uses before it has seen a vehicle.
constexpr int32_t FallbackHeightClass = 1;

constexpr const char* ResetNotice = "Vantor: reset to defaults (Save to keep)";
constexpr const char* SavedNotice = "Vantor: settings saved";
constexpr const char* SaveFailedNotice = "Vantor: settings could not be saved";

bool PressEdge(bool down, bool& wasDown) {
  const bool pressed = down && !wasDown;
  wasDown = down;
  return pressed;
}

// The second key is polled only when the first is not down.
bool IsGroupDown(const KeyGroup& group) { return IsKeyDown(group.first) || IsKeyDown(group.second); }

int32_t HeightIndex(int32_t classIndex) {
  return classIndex >= 0 && classIndex < VehicleClassCount ? classIndex : FallbackHeightClass;
}

bool* RowFlag(Settings& settings, int32_t row) {
  switch (row) {
    case RowModEnabled: return &settings.ModEnabled;
    case RowAutoRecenter: return &settings.AutoRecenter;
    case RowDynamicFov: return &settings.DynamicFOV;
    case RowCornerLean: return &settings.CornerLean;
    case RowBetterHookerView: return &settings.BetterHookerView;
    default: return nullptr;
  }
}

// Left and Right: flag rows flip either way; number rows step by direction and clamp.
void AdjustRow(Settings& settings, int32_t row, int32_t classIndex, float direction) {
  if (bool* flag = RowFlag(settings, row)) {
    *flag = !*flag;
    return;
  }
  switch (row) {
    case RowFov: settings.FOV = ClampUpperFirst(settings.FOV + direction * FovStep, FovMin, FovMax); break;
    case RowHeight: {
      // The menu sets one height for every vehicle class; per-class heights come only from the file.
      const float height =
          ClampUpperFirst(settings.Height[HeightIndex(classIndex)] + direction * HeightStep, HeightMin, HeightMax);
      for (float& entry : settings.Height) entry = height;
      break;
    }
    case RowLookSensitivity:
      settings.LookSensitivity = ClampUpperFirst(settings.LookSensitivity + direction * LookSensitivityStep,
                                           LookSensitivityMin, LookSensitivityMax);
      break;
    default: break;
  }
}

void ConfirmRow(Settings& settings, int32_t row) {
  if (row == RowReset) {
    ResetSettings(settings);
    PostNotification(ResetNotice);
  } else if (row == RowSave) {
    // A failed write must not be reported as saved.
    PostNotification(SaveSettings(settings) ? SavedNotice : SaveFailedNotice);
  }
}

}  // namespace

void UpdateMenu(MenuState& menu, Settings& settings, int32_t classIndex) {
  if (PressEdge(IsKeyDown(VK_F6), menu.f6WasDown)) menu.open = !menu.open;

  const bool numpad0Down = IsKeyDown(VK_NUMPAD0);
  if (numpad0Down && !menu.numpad0WasDown && menu.open) {
    menu.open = false;
    menu.numpad0WasDown = true;
    return;
  }
  menu.numpad0WasDown = numpad0Down;
  if (!menu.open) return;

  if (PressEdge(IsGroupDown(UpKeys), menu.upWasDown)) {
    menu.selectedRow = (menu.selectedRow + MenuRowCount - 1) % MenuRowCount;
  }
  if (PressEdge(IsGroupDown(DownKeys), menu.downWasDown)) menu.selectedRow = (menu.selectedRow + 1) % MenuRowCount;
  if (PressEdge(IsGroupDown(LeftKeys), menu.leftWasDown)) AdjustRow(settings, menu.selectedRow, classIndex, StepDown);
  if (PressEdge(IsGroupDown(RightKeys), menu.rightWasDown)) AdjustRow(settings, menu.selectedRow, classIndex, StepUp);
  if (PressEdge(IsGroupDown(EnterKeys), menu.enterWasDown)) ConfirmRow(settings, menu.selectedRow);

  DrawMenu(menu.selectedRow, settings, settings.Height[HeightIndex(classIndex)]);
}

}  // namespace vantor
