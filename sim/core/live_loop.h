// The live drive's loop, the same for every front end (a window, a page): a person's input for
// one frame in; the frame's events applied to the world and recorded; the plugin's pass; the
// front end's observer (where it draws the picture, as a run draws its pictures); the world's
// step. The recording is a scenario that plays again to the same trace.
//
// A front end's whole contract:
//   LiveLoop loop; StartLive(loop, CircuitStart());
//   StartScenario(host, loop.start, pluginPath);          // settings file, world, plugin (play.h)
//   each frame due (FramesDue):  StepLive(host, loop, inputs, observer);
//   UnloadPlugin(host); Recording(loop) is the drive as a scenario.
// Nothing here reaches the operating system or a window.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "sim/core/play.h"
#include "sim/core/scenario.h"
#include "sim/core/vehicle_motion.h"
#include "sim/core/world.h"

namespace sim {

// A key going down or up.
struct KeyEdge {
  int32_t key = 0;  // virtual-key code, as GetAsyncKeyState takes it
  bool down = false;
};

// A person's input for one frame: a plain record, filled by the front end.
struct LiveInputs {
  std::vector<KeyEdge> keys;  // every transition since the last frame, in the order they came
  float lookX = 0.0f;         // the look controls (GetDisabledControlNormal 1 and 2) on this frame
  float lookY = 0.0f;
  MotionInputs motion;        // the driver's, for the vehicle the player drives; on foot they walk
  bool enterOrLeave = false;  // into the nearest vehicle's driver's seat, or out of the vehicle
};

// The look controls' normal per pixel the mouse moves in a frame: with the plugin's default
// LookSensitivity of 35 degrees at full deflection, a pixel turns the view about 0.1 degree.
constexpr float MouseLookPerPixel = 0.003f;

// The player gets into the driver's seat of the nearest vehicle within this many metres.
constexpr double EnterReach = 8.0;
// Getting out, the player stands here in the vehicle's frame: beside the driver's door.
constexpr Vec3 LeaveStand{-1.8f, 0.0f, 0.0f};

struct LiveLoop {
  Scenario start;                     // the starting world and its own events
  std::vector<ScenarioEvent> played;  // every event applied so far, in the order applied
  int32_t frame = 0;                  // the next frame to play
  size_t cursor = 0;                  // into start.events
  std::vector<MotionInputs> sent;     // the inputs last given to each vehicle, by scenario index
  std::array<float, 2> look{};        // the look controls last given
  std::array<float, 2> walk{};        // the walking input last given, across and ahead
};

void StartLive(LiveLoop& loop, Scenario start);

// The drive so far as a scenario: the start, the frames played and every event applied.
Scenario Recording(const LiveLoop& loop);

// The events of the loop's frame: the start's, then the person's (getting in or out, the keys
// in order, and where they changed the look controls, walking and the motion inputs). Each is applied to
// the world as a scenario applies it, and recorded.
void ApplyLiveInputs(LiveLoop& loop, World& world, const LiveInputs& inputs);

// One frame. False when the plugin's pass failed (the reasons are in the world's errors).
template <typename Host>
bool StepLive(Host& host, LiveLoop& loop, const LiveInputs& inputs, const FrameObserver& observer = {}) {
  World& world = host.hook.world;
  ApplyLiveInputs(loop, world, inputs);
  if (!RunFrame(host)) return false;
  if (observer) observer(world, loop.frame);
  AdvanceWorld(world, loop.start.frameTimeMs);
  ++loop.frame;
  return true;
}

// Real time to frames: frame n is due frameTimeMs * n after the first. When drawing falls
// behind, the front end plays every frame due and draws only the last: pictures are skipped,
// never world steps.
struct LivePacer {
  bool started = false;
  double startMs = 0.0;
};

// Frames due at `nowMs` (any steady clock in milliseconds) beyond the `played` ones.
int32_t FramesDue(LivePacer& pacer, double nowMs, int32_t played, int32_t frameTimeMs);
// When the frame after the `played` ones is due, on the same clock.
double NextFrameDueMs(const LivePacer& pacer, int32_t played, int32_t frameTimeMs);

}  // namespace sim
