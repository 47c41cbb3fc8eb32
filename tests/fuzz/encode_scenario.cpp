// The plugin fuzzer's seed encoder: plays each scenario in the simulator's world, without the
// plugin, asks the world each frame what the plugin's natives would answer, and writes the
// changes as frame records, with the scenario's settings file at the end.
//
//   plugin_fuzz_encode OUT-FOLDER MAX-BYTES SCENARIO.toml...
//
// Each scenario becomes OUT-FOLDER/<its folder>-<its name>, cut to MAX-BYTES (the fuzzer's
// longest input). The plugin's own effects on the world (its camera) are not played.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "camera/seat_query.h"
#include "fuzz_world.h"
#include "sim/core/float_bits.h"
#include "sim/core/native_table.h"
#include "sim/scenario/scenario_file.h"

namespace vantor_fuzz {
namespace {

constexpr uint8_t NoOp = FieldMask;
constexpr int32_t MaxSearchedSeats = 64;
constexpr float SeatForwardOffset = 0.1f;  // as the camera rig places the eye
constexpr float SeatHeight = 0.7f;
constexpr const char* SeatBoneName = "seat_dside_f";
// Fields whose change matters most come first; a frame carries OpsPerRecord of them, the rest
// follow on later frames.
constexpr Field FloatPriority[] = {
    Field::RotationZ, Field::Speed, Field::RotationX, Field::RotationY, Field::LookX, Field::LookY,
    Field::PlayerPositionX, Field::PlayerPositionY, Field::PlayerPositionZ, Field::VehiclePositionX,
    Field::VehiclePositionY, Field::VehiclePositionZ, Field::LocalOffsetX, Field::LocalOffsetY, Field::LocalOffsetZ,
    Field::WorldOffsetX, Field::WorldOffsetY, Field::WorldOffsetZ, Field::BonePositionX, Field::BonePositionY,
    Field::BonePositionZ};

struct Argument {
  uint64_t slot;
  Argument(int32_t value) : slot(static_cast<uint32_t>(value)) {}
  Argument(float value) : slot(sim::FloatBits(value)) {}
  Argument(const char* text) : slot(reinterpret_cast<uintptr_t>(text)) {}
};

sim::CallResult Ask(sim::World& world, const char* native, std::initializer_list<Argument> arguments) {
  sim::CallArguments call{};
  for (const Argument& argument : arguments) call.slots[call.count++] = argument.slot;
  sim::CallResult result{};
  sim::DispatchNative(world, sim::FindNativeByName(native), call, result);
  return result;
}
int32_t AskInt(sim::World& world, const char* native, std::initializer_list<Argument> arguments) {
  return sim::ResultAsInt(Ask(world, native, arguments));
}
sim::Vec3 AskVector(sim::World& world, const char* native, std::initializer_list<Argument> arguments) {
  return sim::ResultAsVector(Ask(world, native, arguments));
}

int32_t FindSeat(sim::World& world, int32_t vehicle, int32_t player) {
  const int32_t passengers = std::min(AskInt(world, "GetVehicleMaxPassengers", {vehicle}), MaxSearchedSeats);
  for (int32_t seat = vantor::DriverSeat; seat < passengers; ++seat)
    if (AskInt(world, "GetPedInVehicleSeat", {vehicle, seat}) == player) return seat;
  return vantor::NoSeat;
}

// What the world would answer the plugin now, as the fuzz world's state.
FuzzWorld Observe(sim::World& world) {
  FuzzWorld state;
  ResetWorld(state);
  const int32_t player = AskInt(world, "PlayerPedId", {});
  const bool inVehicle = AskInt(world, "IsPedInAnyVehicle", {player, 0}) != 0;
  const int32_t vehicle = AskInt(world, "GetVehiclePedIsIn", {player, 0});
  const int32_t last = AskInt(world, "GetVehiclePedIsIn", {player, 1});
  const int32_t subject = inVehicle ? vehicle : last;
  state.flags = 0;
  if (AskInt(world, "DoesEntityExist", {player}) != 0) state.flags |= PlayerExists;
  if (AskInt(world, "IsEntityDead", {player}) != 0) state.flags |= PlayerDead;
  if (inVehicle) state.flags |= InVehicle;
  if (AskInt(world, "DoesEntityExist", {subject}) != 0) state.flags |= VehicleExists;
  if (AskInt(world, "IsGameplayCameraRendering", {}) != 0) state.flags |= GameplayRendering;

  SetIntField(state, Field::Timer, AskInt(world, "GetGameTimer", {}));
  SetIntField(state, Field::PlayerHandle, player);
  SetIntField(state, Field::Vehicle, vehicle);
  SetIntField(state, Field::LastVehicle, last);
  SetIntField(state, Field::MaxPassengers, AskInt(world, "GetVehicleMaxPassengers", {subject}));
  SetIntField(state, Field::PlayerSeat, FindSeat(world, subject, player));
  SetIntField(state, Field::VehicleClass, AskInt(world, "GetVehicleClass", {subject}));
  const int32_t bone = AskInt(world, "GetEntityBoneIndexByName", {subject, SeatBoneName});
  SetIntField(state, Field::BoneIndex, bone);

  SetFloatField(state, Field::Speed, sim::ResultAsFloat(Ask(world, "GetEntitySpeed", {subject})));
  SetFloatField(state, Field::LookX, sim::ResultAsFloat(Ask(world, "GetDisabledControlNormal", {0, 1})));
  SetFloatField(state, Field::LookY, sim::ResultAsFloat(Ask(world, "GetDisabledControlNormal", {0, 2})));
  SetVectorField(state, Field::RotationX, AskVector(world, "GetEntityRotation", {subject, 2}));
  const sim::Vec3 vehiclePosition = AskVector(world, "GetEntityCoords", {subject, 1});
  SetVectorField(state, Field::VehiclePositionX, vehiclePosition);
  SetVectorField(state, Field::PlayerPositionX, AskVector(world, "GetEntityCoords", {player, 1}));
  const sim::Vec3 seat = bone == -1 ? vehiclePosition : AskVector(world, "GetWorldPositionOfEntityBone", {subject, bone});
  SetVectorField(state, Field::BonePositionX, seat);
  const sim::Vec3 local = AskVector(world, "GetOffsetFromEntityGivenWorldCoords", {subject, seat.x, seat.y, seat.z});
  SetVectorField(state, Field::LocalOffsetX, local);
  SetVectorField(state, Field::WorldOffsetX, AskVector(world, "GetOffsetFromEntityInWorldCoords",
                                                  {subject, local.x, local.y + SeatForwardOffset, local.z + SeatHeight}));
  for (int key = 0; key < KeyCount; ++key)
    if ((static_cast<uint16_t>(sim::PollKey(world, Keys[key])) & 0x8000u) != 0) state.keysDown |= 1u << key;
  return state;
}

void PutOp(uint8_t*& op, uint8_t field, uint32_t bits) {
  op[0] = static_cast<uint8_t>(field | static_cast<uint8_t>(ValueMode::Raw) << ValueModeShift);
  for (int i = 0; i < 4; ++i) op[1 + i] = static_cast<uint8_t>(bits >> (8 * i));
  op += OpSize;
}

// One frame's record taking `mirror` (the state as the fuzzer will have decoded it) towards `want`.
void EncodeFrame(const FuzzWorld& mirror, const FuzzWorld& want, uint8_t* record) {
  const uint32_t step = static_cast<uint32_t>(IntField(want, Field::Timer)) - static_cast<uint32_t>(IntField(mirror, Field::Timer));
  const uint16_t keys = mirror.keysDown ^ want.keysDown;
  record[0] = step < 128 ? static_cast<uint8_t>(step) : 0;
  record[1] = static_cast<uint8_t>(keys);
  record[2] = static_cast<uint8_t>(keys >> 8);
  record[3] = 0;
  record[4] = mirror.flags ^ want.flags;
  record[5] = 0;
  uint8_t* op = record + 6;
  uint8_t* const end = op + OpsPerRecord * OpSize;
  for (uint8_t field = step < 128 ? 1 : 0; field < FirstFloatField && op != end; ++field)
    if (mirror.ints[field] != want.ints[field]) PutOp(op, field, static_cast<uint32_t>(want.ints[field]));
  for (const Field field : FloatPriority) {
    if (op == end) break;
    const float wanted = FloatField(want, field);
    const float held = FloatField(mirror, field);
    const uint32_t bits = sim::FloatBits(wanted);
    if (bits == sim::FloatBits(held)) continue;
    PutOp(op, static_cast<uint8_t>(field), bits);
  }
  while (op != end) PutOp(op, NoOp, 0);
}

FileMode ModeOf(const sim::Scenario& scenario) {
  if (scenario.settingsFileBlocked) return FileMode::Folder;
  return scenario.settingsFile ? FileMode::Plain : FileMode::Absent;
}

std::vector<uint8_t> Encode(const sim::Scenario& scenario, std::size_t maxBytes) {
  const std::string settings = scenario.settingsFile.value_or("").substr(0, 0xFFFF);
  const std::size_t room = maxBytes > HeaderSize + LengthSize + settings.size()
                               ? maxBytes - HeaderSize - LengthSize - settings.size() : 0;
  const int32_t frames = std::min({scenario.frames, MaxFrames, static_cast<int32_t>(room / RecordSize)});
  std::vector<uint8_t> input(HeaderSize + static_cast<std::size_t>(frames) * RecordSize);
  input[0] = static_cast<uint8_t>(ModeOf(scenario));

  sim::World world;
  sim::SetUpWorld(world, scenario);
  FuzzWorld mirror;
  ResetWorld(mirror);
  std::size_t cursor = 0;
  for (int32_t frame = 0; frame < frames; ++frame) {
    sim::ApplyEvents(world, scenario, frame, cursor);
    uint8_t* record = input.data() + HeaderSize + static_cast<std::size_t>(frame) * RecordSize;
    EncodeFrame(mirror, Observe(world), record);
    ApplyRecord(mirror, record);
    sim::AdvanceWorld(world, scenario.frameTimeMs);
  }
  input.insert(input.end(), settings.begin(), settings.end());
  input.push_back(static_cast<uint8_t>(settings.size()));
  input.push_back(static_cast<uint8_t>(settings.size() >> 8));
  return input;
}

}  // namespace
}  // namespace vantor_fuzz

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: plugin_fuzz_encode OUT-FOLDER MAX-BYTES SCENARIO.toml...\n", stderr);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  const std::size_t maxBytes = std::strtoul(argv[2], nullptr, 10);
  for (int i = 3; i < argc; ++i) {
    const std::filesystem::path path = argv[i];
    sim::Scenario scenario;
    std::string error;
    if (!sim::LoadScenarioFile(path.string(), scenario, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    const std::vector<uint8_t> input = vantor_fuzz::Encode(scenario, maxBytes);
    const std::filesystem::path seed = out / (path.parent_path().filename().string() + "-" + path.stem().string());
    std::ofstream file(seed, std::ios::binary);
    file.write(reinterpret_cast<const char*>(input.data()), static_cast<std::streamsize>(input.size()));
    if (!file) {
      std::fprintf(stderr, "cannot write %s\n", seed.string().c_str());
      return 1;
    }
  }
  return 0;
}
