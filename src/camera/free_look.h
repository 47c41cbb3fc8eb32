// Free look with the game's look controls, and the drift back to straight ahead once they
// go idle. Runs on active passes only.
#pragma once

#include <cstdint>

#include "camera/camera_rig.h"
#include "settings/settings.h"

namespace vantor {

constexpr float LookDeadZone = 0.0005f;  // an axis moves only when its magnitude is above this
constexpr float LookYawLimit = 100.0f;
constexpr float LookPitchLimit = 45.0f;
constexpr int32_t RecenterDelay = 800;   // idle milliseconds before the offsets decay
constexpr float RecenterDecay = 0.95f;   // per pass

// Moves lookYaw and lookPitch by the look controls, or decays them while recentering.
void UpdateFreeLook(CameraRig& rig, const Settings& settings);

}  // namespace vantor
