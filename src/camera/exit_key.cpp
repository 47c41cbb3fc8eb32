#include "camera/exit_key.h"

#include "camera/game_time.h"
#include "camera/script_rendering.h"
#include "game/keyboard.h"
#include "game/natives.h"
#include "ui/draw.h"

namespace vantor {

namespace {

constexpr int32_t ExitViewMode = 0;

}  // namespace

void UpdateExitKey(CameraRig& rig) {
  const bool down = IsKeyDown(ExitKey);
  if (!down) {
    rig.exitPressTime = NoPressTime;
  } else if (!rig.exitKeyWasDown) {
    rig.exitPressTime = GetGameTimer();
  }
  rig.exitKeyWasDown = down;

  // The press is timed with the camera inactive too; only the prompt and the exit need it active.
  if (!rig.active || !down || rig.exitPressTime < 0) return;
  const int32_t elapsed = GameTimeSince(GetGameTimer(), rig.exitPressTime);
  if (elapsed < ExitHoldTime) {
    DrawPromptText(PromptY, ExitPromptText);
    return;
  }
  ReleaseScriptedCamera(rig);
  SetVehicleCameraViewMode(ExitViewMode);
  const int32_t exitTime = GetGameTimer();
  // A new press needs the key released first.
  rig.exitPressTime = NoPressTime;
  rig.holdOffUntil = GameTimeAfter(exitTime, HoldOffTime);
}

bool HoldOffRunning(int32_t now, int32_t holdOffUntil) { return now < holdOffUntil; }

int32_t ApplyHoldOff(const CameraRig& rig) {
  const int32_t now = GetGameTimer();
  if (HoldOffRunning(now, rig.holdOffUntil)) SetVehicleCameraViewMode(ExitViewMode);
  return now;
}

}  // namespace vantor
