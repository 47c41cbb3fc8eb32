// A scenario: the vehicles of a drive, the starting settings file, and a timeline of what
// happens in the world and on the keyboard and controller, frame by frame. Every host plays
// it the same way: set up the world, then before each frame apply that frame's events.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/core/world.h"

namespace sim {

struct ScenarioVehicle {
  std::string name;
  int32_t vehicleClass = 0;
  bool hasSeatBone = true;
  Vec3 seatBone{-0.45f, 0.1f, 0.45f};  // in the vehicle's own frame
  int32_t maxPassengers = 3;
  Vec3 position;
  Vec3 rotation;  // pitch, roll, yaw in degrees
  float speed = 0.0f;
  float turnRate = 0.0f;
};

enum class EventKind : uint8_t {
  Enter,           // the player takes `seat` in `vehicle`
  Leave,           // the player gets out and stands at `offset` in the vehicle's frame
  StandNear,       // the player, on foot, moves to `offset` in the frame of `vehicle`
  Die,
  Revive,
  Drive,           // any of speed, turn rate, pitch, roll, yaw of `vehicle`; with `until`, a ramp
  Cutscene,        // a cutscene starts (`flag`) or ends
  Cinematic,       // the cinematic camera is held (`flag`) or let go
  OtherCamera,     // another script's camera is made active with script rendering on (`flag`),
                   // or made inactive with script rendering off
  Look,            // the look controls move to (lookX, lookY)
  KeyDown,
  KeyUp,
  VehicleClass,    // `vehicle` reports class `value`
  RemoveVehicle,   // `vehicle` stops existing
  SetTimer,        // the game timer jumps to `value`
  Picture,         // the host takes a picture of this frame's screen
  Throttle,        // the driver's inputs of `vehicle` (see vehicle_motion.h) move to `amount`
  Brake,
  Steer,
  Walk,            // the player's walking input on foot (walking.h) moves to (lookX across, lookY ahead)
};

struct ScenarioEvent {
  int32_t frame = 0;
  EventKind kind = EventKind::Picture;
  int32_t vehicle = -1;  // index into Scenario::vehicles
  int32_t seat = -1;
  int32_t key = 0;       // virtual-key code
  Vec3 offset;
  std::optional<float> speed, turnRate, pitch, roll, yaw;
  float lookX = 0.0f;
  float lookY = 0.0f;
  bool flag = false;
  int32_t value = 0;
  float amount = 0.0f;   // Throttle, Brake, Steer
  int32_t until = -1;    // Drive only: a ramp reaching the given values at this frame (see ExpandRamps)
  int32_t line = 0;      // where the event stands in its file, for messages
};


struct Scenario {
  std::string name;
  int32_t frameTimeMs = 16;
  int32_t frames = 600;
  int32_t startTimer = 100000;
  int32_t viewMode = DefaultViewMode;       // the player's vehicle view at the start
  std::optional<std::string> settingsFile;  // content of "Vantor.ini" before the start; none: no file
  bool settingsFileBlocked = false;          // "Vantor.ini" is a folder: reading and saving fail
  std::string track;                         // the ground: "" the planned roads, or a track (track.h)
  std::vector<ScenarioVehicle> vehicles;
  std::vector<ScenarioEvent> events;         // in frame order
};

// The virtual-key code of a key's name ("V", "F6", "NUMPAD0", "UP", "ENTER", ...; any case), or 0.
int32_t KeyCodeByName(std::string_view name);
// The name KeyCodeByName takes for a code, in capitals, or null for a key without one.
const char* KeyNameByCode(int32_t code);

// Sorts the events by frame, keeping the written order within a frame.
void SortEvents(Scenario& scenario);

// The vehicles, the timer and the player's view as the scenario starts.
void SetUpWorld(World& world, const Scenario& scenario);

// Applies one event, whatever its frame.
void ApplyEvent(World& world, const ScenarioEvent& event);
// Applies the events of `frame`, starting at `cursor` (advanced past them).
// Pictures are not the world's business: their frames are collected in `pictures`.
void ApplyEvents(World& world, const Scenario& scenario, int32_t frame, size_t& cursor,
                 std::vector<int32_t>* pictures = nullptr);

// Turns each drive with `until` into one drive a frame that moves its quantities linearly from
// their values as frame `frame` begins to the given ones at `until`. Those values are known beforehand, as
// only the scenario sets speed, turn rate, pitch and roll. A later drive that sets a quantity
// ends its ramp; a new ramp of a quantity replaces the old one. Yaw does not ramp. Needs the
// events sorted; keeps them sorted. Every host then plays plain events.
void ExpandRamps(Scenario& scenario);

// The world handle of a scenario's vehicle, as SetUpWorld numbered it.
int32_t VehicleHandle(int32_t vehicleIndex);

// Lays out "Vantor.ini" in the current folder as the scenario starts: its content, a folder
// in its place when blocked, or nothing. False, with the reason, when that cannot be done.
bool PrepareSettingsFile(const Scenario& scenario, std::string& error);

}  // namespace sim
