#include "sim/core/scenario.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace sim {

namespace {

struct KeyName {
  const char* name;
  int32_t code;
};

constexpr KeyName KeyNames[] = {
    {"V", 0x56},        {"F6", 0x75},       {"NUMPAD0", 0x60}, {"UP", 0x26},       {"DOWN", 0x28},
    {"LEFT", 0x25},     {"RIGHT", 0x27},    {"ENTER", 0x0D},   {"NUMPAD8", 0x68},  {"NUMPAD2", 0x62},
    {"NUMPAD4", 0x64},  {"NUMPAD6", 0x66},  {"NUMPAD5", 0x65},
};

Vehicle* ScenarioVehicleIn(World& world, int32_t index) { return FindVehicle(world, VehicleHandle(index)); }

float& QuantityOf(Vehicle& vehicle, DriveQuantity quantity) {
  switch (quantity) {
    case DriveQuantity::Speed: return vehicle.speed;
    case DriveQuantity::TurnRate: return vehicle.turnRate;
    case DriveQuantity::Pitch: return vehicle.rotation.x;
    case DriveQuantity::Roll: break;
  }
  return vehicle.rotation.y;
}

void EndRamp(ScenarioPlayback& playback, int32_t vehicle, DriveQuantity quantity) {
  std::erase_if(playback.ramps,
                [&](const DriveRamp& ramp) { return ramp.vehicle == vehicle && ramp.quantity == quantity; });
}

// One quantity of a drive: set at once, or start a ramp from its present value.
void DriveQuantityOf(Vehicle& vehicle, const ScenarioEvent& event, DriveQuantity quantity,
                     const std::optional<float>& value, ScenarioPlayback& playback) {
  if (!value) return;
  EndRamp(playback, event.vehicle, quantity);
  if (event.until > event.frame)
    playback.ramps.push_back({event.vehicle, quantity, event.frame, event.until, QuantityOf(vehicle, quantity), *value});
  else
    QuantityOf(vehicle, quantity) = *value;
}

void Drive(Vehicle& vehicle, const ScenarioEvent& event, ScenarioPlayback& playback) {
  DriveQuantityOf(vehicle, event, DriveQuantity::Speed, event.speed, playback);
  DriveQuantityOf(vehicle, event, DriveQuantity::TurnRate, event.turnRate, playback);
  DriveQuantityOf(vehicle, event, DriveQuantity::Pitch, event.pitch, playback);
  DriveQuantityOf(vehicle, event, DriveQuantity::Roll, event.roll, playback);
  if (event.yaw) vehicle.rotation.z = *event.yaw;
}

void MoveRamps(World& world, int32_t frame, ScenarioPlayback& playback) {
  for (const DriveRamp& ramp : playback.ramps) {
    Vehicle* vehicle = ScenarioVehicleIn(world, ramp.vehicle);
    if (vehicle == nullptr) continue;
    // In double, so the end of the ramp lands on the target exactly.
    const double share = static_cast<double>(frame - ramp.from) / static_cast<double>(ramp.until - ramp.from);
    QuantityOf(*vehicle, ramp.quantity) =
        frame >= ramp.until ? ramp.target
                            : static_cast<float>(ramp.start + (static_cast<double>(ramp.target) - ramp.start) * share);
  }
  std::erase_if(playback.ramps, [&](const DriveRamp& ramp) { return frame >= ramp.until; });
}

void Apply(World& world, const ScenarioEvent& event, ScenarioPlayback& playback) {
  Vehicle* vehicle = ScenarioVehicleIn(world, event.vehicle);
  switch (event.kind) {
    case EventKind::Enter:
      if (vehicle != nullptr) EnterVehicle(world, vehicle->handle, event.seat);
      break;
    case EventKind::Leave: {
      const Vehicle* from = FindVehicle(world, world.player.vehicle);
      const Vec3 standAt = from != nullptr ? LocalToWorld(*from, event.offset) : PlayerPosition(world);
      LeaveVehicle(world, standAt);
      break;
    }
    case EventKind::StandNear:
      if (vehicle != nullptr) world.player.position = LocalToWorld(*vehicle, event.offset);
      break;
    case EventKind::Die:
      world.player.dead = true;
      break;
    case EventKind::Revive:
      world.player.dead = false;
      break;
    case EventKind::Drive:
      if (vehicle != nullptr) Drive(*vehicle, event, playback);
      break;
    case EventKind::GameplayCamera:
      world.gameplayCameraRendering = event.flag;
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
    if (code == key.code) return key.name;
  return "?";
}

void SortEvents(Scenario& scenario) {
  std::stable_sort(scenario.events.begin(), scenario.events.end(),
                   [](const ScenarioEvent& a, const ScenarioEvent& b) { return a.frame < b.frame; });
}

int32_t VehicleHandle(int32_t vehicleIndex) { return vehicleIndex < 0 ? 0 : FirstVehicleHandle + vehicleIndex; }

void SetUpWorld(World& world, const Scenario& scenario) {
  world.gameTimer = scenario.startTimer;
  world.gameplayCameraRendering = scenario.gameplayCameraRendering;
  world.vehicles.clear();
  for (const ScenarioVehicle& spec : scenario.vehicles) {
    Vehicle vehicle;
    vehicle.vehicleClass = spec.vehicleClass;
    vehicle.hasSeatBone = spec.hasSeatBone;
    vehicle.seatBoneOffset = spec.seatBone;
    vehicle.maxPassengers = spec.maxPassengers;
    vehicle.position = spec.position;
    vehicle.rotation = spec.rotation;
    vehicle.speed = spec.speed;
    vehicle.turnRate = spec.turnRate;
    AddVehicle(world, vehicle);
  }
}

void ApplyEvents(World& world, const Scenario& scenario, int32_t frame, ScenarioPlayback& playback,
                 std::vector<int32_t>* pictures) {
  while (playback.cursor < scenario.events.size() && scenario.events[playback.cursor].frame <= frame) {
    const ScenarioEvent& event = scenario.events[playback.cursor++];
    if (event.kind == EventKind::Picture && pictures != nullptr) pictures->push_back(frame);
    Apply(world, event, playback);
  }
  MoveRamps(world, frame, playback);
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
  std::ofstream file(path, std::ios::binary);
  file << *scenario.settingsFile;
  file.close();
  if (!file) {
    error = "cannot write Vantor.ini";
    return false;
  }
  return true;
}

}  // namespace sim
