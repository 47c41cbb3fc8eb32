#include "sim/core/scenario.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "sim/core/text_file.h"

namespace sim {

namespace {

struct KeyName {
  const char* name;
  int32_t code;
};

constexpr KeyName KeyNames[] = {
    {"V", 0x56},        {"F6", 0x75},       {"NUMPAD0", 0x60}, {"UP", 0x26},       {"DOWN", 0x28},
    {"LEFT", 0x25},     {"RIGHT", 0x27},    {"ENTER", 0x0D},   {"NUMPAD8", 0x68},  {"NUMPAD2", 0x62},
    {"NUMPAD4", 0x64},  {"NUMPAD6", 0x66},  {"NUMPAD5", 0x65},  {"NUMPAD1", 0x61},  {"NUMPAD3", 0x63},
    {"NUMPAD7", 0x67},  {"NUMPAD9", 0x69},
};

Vehicle* ScenarioVehicleIn(World& world, int32_t index) { return FindVehicle(world, VehicleHandle(index)); }

// The quantities a ramp moves, as they stand in a drive event and in a vehicle.
enum class DriveQuantity : uint8_t { Speed, TurnRate, Pitch, Roll, Count };
constexpr size_t DriveQuantityCount = static_cast<size_t>(DriveQuantity::Count);

std::optional<float>& EventQuantity(ScenarioEvent& event, size_t quantity) {
  switch (static_cast<DriveQuantity>(quantity)) {
    case DriveQuantity::Speed: return event.speed;
    case DriveQuantity::TurnRate: return event.turnRate;
    case DriveQuantity::Pitch: return event.pitch;
    default: return event.roll;
  }
}

std::array<float, DriveQuantityCount> VehicleQuantities(const ScenarioVehicle& vehicle) {
  return {vehicle.speed, vehicle.turnRate, vehicle.rotation.x, vehicle.rotation.y};
}

struct DriveRamp {
  int32_t vehicle;
  size_t quantity;
  int32_t from, until;
  float start, target;
};

void ApplyDrive(Vehicle& vehicle, const ScenarioEvent& event) {
  if (event.speed) vehicle.speed = *event.speed;
  if (event.turnRate) vehicle.turnRate = *event.turnRate;
  if (event.pitch) vehicle.rotation.x = *event.pitch;
  if (event.roll) vehicle.rotation.y = *event.roll;
  if (event.yaw) vehicle.rotation.z = *event.yaw;
}

// The driver's inputs: from the first of them the world drives the vehicle.
void ApplyMotionInput(Vehicle& vehicle, const ScenarioEvent& event) {
  vehicle.motion.driven = true;
  (event.kind == EventKind::Throttle ? vehicle.motion.inputs.throttle
   : event.kind == EventKind::Brake  ? vehicle.motion.inputs.brake
                                     : vehicle.motion.inputs.steer) = event.amount;
}

// A cutscene, the cinematic camera or another script's camera begins (`flag`) or ends.
void ApplyGameCamera(World& world, const ScenarioEvent& event) {
  if (event.kind == EventKind::Cutscene) {
    world.cutscenePlaying = event.flag;
  } else if (event.kind == EventKind::Cinematic) {
    world.cinematicHeld = event.flag;
  } else {
    // The other script turns the one rendering switch on with its camera, and off at its end.
    world.otherCamera.active = event.flag;
    if (event.flag) world.otherCamera.activation = ++world.cameraActivations;
    world.scriptCamerasRendering = event.flag;
  }
}

// The player gets out and stands at the event's offset in the vehicle's frame.
void ApplyLeave(World& world, const ScenarioEvent& event) {
  const Vehicle* from = FindVehicle(world, world.player.vehicle);
  const Vec3 standAt = from != nullptr ? LocalToWorld(*from, event.offset) : PlayerPosition(world);
  LeaveVehicle(world, standAt);
}

void Apply(World& world, const ScenarioEvent& event) {
  Vehicle* vehicle = ScenarioVehicleIn(world, event.vehicle);
  switch (event.kind) {
    case EventKind::Enter:
      if (vehicle != nullptr) EnterVehicle(world, vehicle->handle, event.seat);
      break;
    case EventKind::Leave:
      ApplyLeave(world, event);
      break;
    case EventKind::StandNear:
      if (vehicle != nullptr) world.player.position = LocalToWorld(*vehicle, event.offset);
      break;
    case EventKind::Die:
    case EventKind::Revive:
      world.player.dead = event.kind == EventKind::Die;
      break;
    case EventKind::Drive:
      if (vehicle != nullptr) ApplyDrive(*vehicle, event);
      break;
    case EventKind::Cutscene:
    case EventKind::Cinematic:
    case EventKind::OtherCamera:
      ApplyGameCamera(world, event);
      break;
    case EventKind::Look:
      world.lookControls[1] = event.lookX;
      world.lookControls[2] = event.lookY;
      break;
    case EventKind::KeyDown:
      SetKeyDown(world, event.key, true);
      break;
    case EventKind::KeyUp:
      SetKeyDown(world, event.key, false);
      break;
    case EventKind::VehicleClass:
      if (vehicle != nullptr) vehicle->vehicleClass = event.value;
      break;
    case EventKind::RemoveVehicle:
      if (vehicle != nullptr) vehicle->exists = false;
      break;
    case EventKind::SetTimer:
      world.gameTimer = event.value;
      break;
    case EventKind::Picture:
      break;
    case EventKind::Walk:
      world.player.walkRight = event.lookX;
      world.player.walkAhead = event.lookY;
      break;
    case EventKind::Throttle:
    case EventKind::Brake:
    case EventKind::Steer:
      if (vehicle != nullptr) ApplyMotionInput(*vehicle, event);
      break;
  }
}

}  // namespace

int32_t KeyCodeByName(std::string_view name) {
  const auto sameLetters = [](std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
  };
  for (const KeyName& key : KeyNames)
    if (sameLetters(name, key.name)) return key.code;
  return 0;
}

const char* KeyNameByCode(int32_t code) {
  for (const KeyName& key : KeyNames)
    if (key.code == code) return key.name;
  return nullptr;
}

void SortEvents(Scenario& scenario) {
  std::stable_sort(scenario.events.begin(), scenario.events.end(),
                   [](const ScenarioEvent& a, const ScenarioEvent& b) { return a.frame < b.frame; });
}

int32_t VehicleHandle(int32_t vehicleIndex) { return vehicleIndex < 0 ? 0 : FirstVehicleHandle + vehicleIndex; }

void SetUpWorld(World& world, const Scenario& scenario) {
  world.gameTimer = scenario.startTimer;
  world.vehicleCameraViewMode = scenario.viewMode;
  // The ground is flat, at the height the first vehicle starts on.
  world.groundLevel = scenario.vehicles.empty() ? 0.0f : scenario.vehicles.front().position.z;
  world.vehicles.clear();
  for (const ScenarioVehicle& written : scenario.vehicles) {
    Vehicle vehicle;
    vehicle.vehicleClass = written.vehicleClass;
    vehicle.hasSeatBone = written.hasSeatBone;
    vehicle.seatBoneOffset = written.seatBone;
    vehicle.maxPassengers = written.maxPassengers;
    vehicle.position = written.position;
    vehicle.rotation = written.rotation;
    vehicle.speed = written.speed;
    vehicle.turnRate = written.turnRate;
    AddVehicle(world, vehicle);
  }
}

void ApplyEvent(World& world, const ScenarioEvent& event) { Apply(world, event); }

void ApplyEvents(World& world, const Scenario& scenario, int32_t frame, size_t& cursor,
                 std::vector<int32_t>* pictures) {
  while (cursor < scenario.events.size() && scenario.events[cursor].frame <= frame) {
    const ScenarioEvent& event = scenario.events[cursor++];
    if (event.kind == EventKind::Picture && pictures != nullptr) pictures->push_back(frame);
    Apply(world, event);
  }
}

namespace {

using DriveValues = std::array<float, DriveQuantityCount>;

bool IsRamp(const ScenarioEvent& event) { return event.kind == EventKind::Drive && event.until > event.frame; }

// A written drive of a known vehicle: each value it gives replaces a ramp of that quantity under
// way, and becomes the vehicle's value now, or with `until` the target of a ramp from the value it had.
void TakeDrive(ScenarioEvent& event, DriveValues& values, std::vector<DriveRamp>& ramps) {
  for (size_t quantity = 0; quantity < DriveQuantityCount; ++quantity) {
    std::optional<float>& value = EventQuantity(event, quantity);
    if (!value) continue;
    std::erase_if(ramps, [&](const DriveRamp& ramp) { return ramp.vehicle == event.vehicle && ramp.quantity == quantity; });
    float& current = values[quantity];
    if (IsRamp(event)) {
      ramps.push_back({event.vehicle, quantity, event.frame, event.until, current, *value});
      value.reset();  // on its first frame a ramp still stands at its start
    } else {
      current = *value;
    }
  }
  event.until = -1;
}

// The drive that takes the vehicle's ramps under way to this frame's values; none when no ramp moves it.
std::optional<ScenarioEvent> RampStep(int32_t frame, size_t vehicle, const std::vector<DriveRamp>& ramps, DriveValues& values) {
  ScenarioEvent step;
  for (const DriveRamp& ramp : ramps) {
    if (static_cast<size_t>(ramp.vehicle) != vehicle || frame <= ramp.from) continue;
    // In double, so the last step lands on the target exactly.
    const double share = static_cast<double>(frame - ramp.from) / static_cast<double>(ramp.until - ramp.from);
    const float value = frame >= ramp.until ? ramp.target
                                            : static_cast<float>(ramp.start + (static_cast<double>(ramp.target) -
                                                                               ramp.start) * share);
    EventQuantity(step, ramp.quantity) = value;
    values[ramp.quantity] = value;
  }
  if (!step.speed && !step.turnRate && !step.pitch && !step.roll) return std::nullopt;
  step.frame = frame;
  step.kind = EventKind::Drive;
  step.vehicle = static_cast<int32_t>(vehicle);
  return step;
}

}  // namespace

void ExpandRamps(Scenario& scenario) {
  if (std::none_of(scenario.events.begin(), scenario.events.end(), IsRamp)) return;

  std::vector<DriveValues> values;
  for (const ScenarioVehicle& vehicle : scenario.vehicles) values.push_back(VehicleQuantities(vehicle));
  const auto known = [&](int32_t vehicle) { return vehicle >= 0 && static_cast<size_t>(vehicle) < values.size(); };
  std::vector<DriveRamp> ramps;
  std::vector<ScenarioEvent> events;
  size_t next = 0;
  for (int32_t frame = 0; frame < scenario.frames && (next < scenario.events.size() || !ramps.empty()); ++frame) {
    for (; next < scenario.events.size() && scenario.events[next].frame <= frame; ++next) {
      ScenarioEvent event = scenario.events[next];
      if (event.kind == EventKind::Drive && known(event.vehicle))
        TakeDrive(event, values[static_cast<size_t>(event.vehicle)], ramps);
      events.push_back(event);
    }
    // One drive a frame for each vehicle with ramps under way.
    for (size_t vehicle = 0; vehicle < values.size(); ++vehicle)
      if (const auto step = RampStep(frame, vehicle, ramps, values[vehicle])) events.push_back(*step);
    std::erase_if(ramps, [&](const DriveRamp& ramp) { return frame >= ramp.until; });
  }
  for (; next < scenario.events.size(); ++next) events.push_back(scenario.events[next]);
  scenario.events = std::move(events);
}

bool PrepareSettingsFile(const Scenario& scenario, std::string& error) {
  const std::filesystem::path path = "Vantor.ini";
  std::error_code failure;
  std::filesystem::remove_all(path, failure);
  if (scenario.settingsFileBlocked) {
    if (!std::filesystem::create_directory(path, failure)) {
      error = "cannot put a folder in the place of Vantor.ini";
      return false;
    }
    return true;
  }
  if (!scenario.settingsFile) return true;
  if (!WriteWholeFile(path, *scenario.settingsFile)) {
    error = "cannot write Vantor.ini";
    return false;
  }
  return true;
}

}  // namespace sim
