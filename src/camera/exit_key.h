// Hold V to leave first person, and the short hold-off after it during which the vehicle
// camera is kept in view mode 0 and the first-person camera may not return.
#pragma once

#include <cstdint>

#include "camera/camera_rig.h"

namespace vantor {

constexpr int32_t ExitKey = 0x56;         // V
constexpr int32_t ExitHoldTime = 1000;    // milliseconds held before first person ends
constexpr int32_t HoldOffTime = 400;      // milliseconds of hold-off after the exit
// exitPressTime while no press is being timed; only presses timed at 0 or later count.
constexpr int32_t NoPressTime = -1;
constexpr float PromptY = 0.9f;
constexpr const char* ExitPromptText = "Keep holding V to exit first person...";

// Times the V press; with the camera active draws the prompt, or leaves first person once
// the press has lasted ExitHoldTime.
void UpdateExitKey(CameraRig& rig);

// Whether the game time is still below the hold-off's end, compared signed. Once the timer
// passes 2^31 ms it reads negative and stays below the initial 0 for the next 2^31 ms.
bool HoldOffRunning(int32_t now, int32_t holdOffUntil);

// Forces view mode 0 while the hold-off runs. Returns the game time the activation decision uses.
int32_t ApplyHoldOff(const CameraRig& rig);

}  // namespace vantor
