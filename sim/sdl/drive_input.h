// A person's keys, mouse and game controller, through SDL, as the live loop's inputs: the
// plugin's keys (V, F6, the arrows, Enter, the number pad) as key transitions in the order they
// came; W, S, A, D, a controller's left stick and triggers as the driver's inputs; the
// captured mouse and the right stick as the look controls; F to get in or out. F1, F12, Esc
// and closing the window are the window's own and never reach the plugin or the trace.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "sim/core/live_loop.h"

namespace sim {

// A stick closer to its centre than this share of its travel reads 0, so that a resting stick
// neither drifts the view nor keeps the plugin's recentring away; beyond it the travel is rescaled.
constexpr float StickDeadZone = 0.15f;
constexpr float TriggerDeadZone = 0.05f;

struct DriveInput {
  // Held from frame to frame.
  bool forward = false, backward = false, left = false, right = false;
  bool mouseCaptured = true;
  bool help = false;
  SDL_GameController* controller = nullptr;
  // Gathered since the last frame.
  std::vector<KeyEdge> keys;
  int mouseX = 0, mouseY = 0;  // relative motion in pixels while captured
  bool enterOrLeave = false;
  bool screenshot = false;
  bool quit = false;
};

// The virtual-key code a scancode reaches the plugin as, or 0 for a key of the window's own.
int32_t PluginKeyOf(SDL_Scancode scancode);

// Takes in one event; opens a game controller when one is added and none is open.
void HandleDriveEvent(DriveInput& input, const SDL_Event& event);

// The inputs of the next frame: what was gathered (then cleared) and what is held, the open
// controller's axes read now.
LiveInputs TakeLiveInputs(DriveInput& input);

// A stick axis (-32768 to 32767) or a trigger (0 to 32767) as -1 to 1 after the dead zone.
float StickNormal(int16_t raw, float deadZone);

}  // namespace sim
