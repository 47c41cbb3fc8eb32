#include "sim/core/live_loop.h"

#include <cmath>

namespace sim {

namespace {

void Play(LiveLoop& loop, World& world, ScenarioEvent event) {
  event.frame = loop.frame;
  ApplyEvent(world, event);
  loop.played.push_back(event);
}

// The scenario index of the vehicle nearest the player's feet within EnterReach whose
// driver's seat is free, or -1.
int32_t NearestFreeVehicle(const World& world) {
  int32_t nearest = -1;
  double nearestDistance = EnterReach;
  for (size_t i = 0; i < world.vehicles.size(); ++i) {
    const Vehicle& vehicle = world.vehicles[i];
    const bool driverSeatTaken = !vehicle.otherOccupants.empty() && vehicle.otherOccupants[0] != 0;
    if (!vehicle.exists || driverSeatTaken) continue;
    const double distance =
        std::hypot(vehicle.position.x - world.player.position.x, vehicle.position.y - world.player.position.y,
                   vehicle.position.z - world.player.position.z);
    if (distance <= nearestDistance) {
      nearest = static_cast<int32_t>(i);
      nearestDistance = distance;
    }
  }
  return nearest;
}

// Compared by value and sign, so that -0 after 0 is an event too: the world keeps what it got.
bool Differs(float a, float b) { return a != b || std::signbit(a) != std::signbit(b); }

int32_t ScenarioIndex(int32_t handle) { return handle == 0 ? -1 : handle - FirstVehicleHandle; }

void SendMotion(LiveLoop& loop, World& world, int32_t vehicle, const MotionInputs& wanted) {
  MotionInputs& sent = loop.sent[static_cast<size_t>(vehicle)];
  const std::pair<EventKind, float MotionInputs::*> controls[] = {{EventKind::Throttle, &MotionInputs::throttle},
                                                                  {EventKind::Brake, &MotionInputs::brake},
                                                                  {EventKind::Steer, &MotionInputs::steer}};
  for (const auto& [kind, member] : controls) {
    if (!Differs(sent.*member, wanted.*member)) continue;
    ScenarioEvent event;
    event.kind = kind;
    event.vehicle = vehicle;
    event.amount = wanted.*member;
    Play(loop, world, event);
    sent.*member = wanted.*member;
  }
}

// A look or walk event when either value changed.
void SendPair(LiveLoop& loop, World& world, EventKind kind, float x, float y, std::array<float, 2>& sent) {
  if (!Differs(x, sent[0]) && !Differs(y, sent[1])) return;
  ScenarioEvent event;
  event.kind = kind;
  event.lookX = x;
  event.lookY = y;
  Play(loop, world, event);
  sent = {x, y};
}

}  // namespace

void StartLive(LiveLoop& loop, Scenario start) {
  loop = LiveLoop{};
  loop.start = std::move(start);
  loop.sent.assign(loop.start.vehicles.size(), MotionInputs{});
}

Scenario Recording(const LiveLoop& loop) {
  Scenario recording = loop.start;
  recording.frames = loop.frame;
  recording.events = loop.played;
  return recording;
}

void ApplyLiveInputs(LiveLoop& loop, World& world, const LiveInputs& inputs) {
  for (; loop.cursor < loop.start.events.size() && loop.start.events[loop.cursor].frame <= loop.frame; ++loop.cursor)
    Play(loop, world, loop.start.events[loop.cursor]);

  if (inputs.enterOrLeave) {
    ScenarioEvent event;
    if (world.player.vehicle != 0) {
      event.kind = EventKind::Leave;
      event.offset = LeaveStand;
      Play(loop, world, event);
    } else if (const int32_t vehicle = NearestFreeVehicle(world); vehicle >= 0 && !world.player.dead) {
      event.kind = EventKind::Enter;
      event.vehicle = vehicle;
      event.seat = -1;
      Play(loop, world, event);
    }
  }
  for (const KeyEdge& edge : inputs.keys) {
    ScenarioEvent event;
    event.kind = edge.down ? EventKind::KeyDown : EventKind::KeyUp;
    event.key = edge.key;
    Play(loop, world, event);
  }
  SendPair(loop, world, EventKind::Look, inputs.lookX, inputs.lookY, loop.look);
  // On foot the same controls walk; in a vehicle the player stands still.
  const bool onFoot = world.player.vehicle == 0;
  SendPair(loop, world, EventKind::Walk, onFoot ? inputs.motion.steer : 0.0f,
           onFoot ? inputs.motion.throttle - inputs.motion.brake : 0.0f, loop.walk);
  // The driver's inputs reach the vehicle driven; every other vehicle is let go.
  const int32_t driven = world.player.seat == -1 ? ScenarioIndex(world.player.vehicle) : -1;
  for (size_t i = 0; i < loop.sent.size(); ++i)
    SendMotion(loop, world, static_cast<int32_t>(i),
               static_cast<int32_t>(i) == driven ? inputs.motion : MotionInputs{});
}

int32_t FramesDue(LivePacer& pacer, double nowMs, int32_t played, int32_t frameTimeMs) {
  if (!pacer.started) {
    pacer.started = true;
    pacer.startMs = nowMs - static_cast<double>(played) * frameTimeMs;
  }
  if (frameTimeMs <= 0) return 1;
  const double due = std::floor((nowMs - pacer.startMs) / frameTimeMs) + 1.0;
  return due > played ? static_cast<int32_t>(due - played) : 0;
}

double NextFrameDueMs(const LivePacer& pacer, int32_t played, int32_t frameTimeMs) {
  return pacer.startMs + static_cast<double>(played) * frameTimeMs;
}

}  // namespace sim
