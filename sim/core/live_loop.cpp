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
    const double distance = std::hypot(vehicle.position.x - world.player.position.x,
                                       vehicle.position.y - world.player.position.y,
                                       vehicle.position.z - world.player.position.z);
    if (distance <= nearestDistance) {
      nearest = static_cast<int32_t>(i);
      nearestDistance = distance;
    }
  }
  return nearest;
}

int32_t ScenarioIndex(int32_t handle) { return handle == 0 ? -1 : handle - FirstVehicleHandle; }

void SendMotion(LiveLoop& loop, World& world, int32_t vehicle, const MotionInputs& wanted) {
  MotionInputs& sent = loop.sent[static_cast<size_t>(vehicle)];
  const std::pair<EventKind, float MotionInputs::*> controls[] = {
      {EventKind::Throttle, &MotionInputs::throttle}, {EventKind::Brake, &MotionInputs::brake},
      {EventKind::Steer, &MotionInputs::steer}};
  for (const auto& [kind, member] : controls) {
    // Compared by value and sign, so that -0 after 0 is an event too: the world keeps what it got.
    if (sent.*member == wanted.*member && std::signbit(sent.*member) == std::signbit(wanted.*member)) continue;
    ScenarioEvent event;
    event.kind = kind;
    event.vehicle = vehicle;
    event.amount = wanted.*member;
    Play(loop, world, event);
    sent.*member = wanted.*member;
  }
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
  if (inputs.lookX != loop.lookX || inputs.lookY != loop.lookY || std::signbit(inputs.lookX) != std::signbit(loop.lookX) ||
      std::signbit(inputs.lookY) != std::signbit(loop.lookY)) {
    ScenarioEvent event;
    event.kind = EventKind::Look;
    event.lookX = inputs.lookX;
    event.lookY = inputs.lookY;
    Play(loop, world, event);
    loop.lookX = inputs.lookX;
    loop.lookY = inputs.lookY;
  }
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
