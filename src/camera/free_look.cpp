#include "camera/free_look.h"

#include <cmath>

#include "settings/bounds.h"
#include "camera/game_time.h"
#include "game/natives.h"

namespace vantor {

namespace {

constexpr int32_t LookPad = 0;
constexpr int32_t LookHorizontalControl = 1;
constexpr int32_t LookVerticalControl = 2;

}  // namespace

void UpdateFreeLook(CameraRig& rig, const Settings& settings) {
  const float horizontal = GetDisabledControlNormal(LookPad, LookHorizontalControl);
  const float vertical = GetDisabledControlNormal(LookPad, LookVerticalControl);
  if (std::fabs(horizontal) > LookDeadZone || std::fabs(vertical) > LookDeadZone) {
    // Either axis counts as input; both are applied, the quiet one with its small value.
    rig.lookYaw = ClampNanToLower(rig.lookYaw - horizontal * settings.LookSensitivity, -LookYawLimit, LookYawLimit);
    rig.lookPitch =
        ClampNanToLower(rig.lookPitch - vertical * settings.LookSensitivity, -LookPitchLimit, LookPitchLimit);
    rig.lastLookTime = GetGameTimer();
  } else if (settings.AutoRecenter) {
    if (GameTimeSince(GetGameTimer(), rig.lastLookTime) >= RecenterDelay) {
      rig.lookYaw *= RecenterDecay;
      rig.lookPitch *= RecenterDecay;
    }
  }
}

}  // namespace vantor
