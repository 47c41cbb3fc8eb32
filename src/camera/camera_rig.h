// The camera stage: decides each pass whether the first-person camera renders, and places it.
#pragma once

#include <cstdint>

#include "camera/seat_query.h"
#include "settings/settings.h"

namespace vantor {

struct CameraRig {
  // Set at start-up.
  int32_t camera = 0;
  // Carried from pass to pass.
  bool active = false;
  int32_t rememberedVehicle = 0;
  int32_t rememberedSeat = NoSeat;
  int32_t classIndex = StartHeightClass;
  float smoothedFov = FovDefault;
  float smoothedHeight = HeightDefault;
  float smoothedPitch = 0.0f;
  float smoothedRoll = 0.0f;
  float smoothedYaw = 0.0f;
  float previousYaw = 0.0f;  // the vehicle's raw yaw at the latest active pass
  float lean = 0.0f;
  float lookYaw = 0.0f;
  float lookPitch = 0.0f;
  int32_t lastLookTime = 0;
  bool exitKeyWasDown = false;
  int32_t exitPressTime = -1;
  int32_t holdOffUntil = 0;
};

// Reduces an angle difference into [-180, 180): ((degrees + 540) mod 360) - 180, the modulo
// taken into [0, 360). A NaN or infinite difference has no direction and gives 0.
float WrapAngle(float degrees);

// One pass of the camera stage, in order: seat memory, class tracking, target field of view,
// smoothing, the exit key, the hold-off, then the activation decision with the active frame
// or the release.
void UpdateCameraRig(CameraRig& rig, const SeatInfo& seatInfo, int32_t player, const Settings& settings);

}  // namespace vantor
