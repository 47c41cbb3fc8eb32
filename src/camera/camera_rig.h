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
  int32_t classIndex = 1;
  float smoothedFov = FovDefault;
  float smoothedHeight = HeightDefault;
  float smoothedPitch = 0.0f;
  float smoothedRoll = 0.0f;
  float smoothedYaw = 0.0f;
  float previousYaw = 0.0f;
  float lean = 0.0f;
  float lookYaw = 0.0f;
  float lookPitch = 0.0f;
  int32_t lastLookTime = 0;
  bool exitKeyWasDown = false;
  int32_t exitPressTime = -1;
  int32_t holdOffUntil = 0;
};

// Reduces an angle difference into [-180, 180).
float WrapAngle(float degrees);

void UpdateCameraRig(CameraRig& rig, const SeatInfo& seatInfo, int32_t player, const Settings& settings);

}  // namespace vantor
