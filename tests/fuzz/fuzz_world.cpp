#include "fuzz_world.h"

#include <limits>

#include "camera/seat_query.h"
#include "game/natives.h"

namespace vantor_fuzz {

namespace {

constexpr uint16_t KeyDownBit = 0x8000;
constexpr int32_t LookHorizontalControl = 1;
constexpr int32_t LookVerticalControl = 2;

int FloatSlot(Field field) { return static_cast<int>(field) - FirstFloatField; }

sim::Vec3 Vector(const FuzzWorld& world, Field x) {
  const int slot = FloatSlot(x);
  return {world.floats[slot], world.floats[slot + 1], world.floats[slot + 2]};
}

bool Has(const FuzzWorld& world, uint8_t flag) { return (world.flags & flag) != 0; }

bool IsPlayer(const FuzzWorld& world, int32_t handle) { return handle == IntField(world, Field::PlayerHandle); }
bool IsVehicle(const FuzzWorld& world, int32_t handle) {
  return handle == IntField(world, Field::Vehicle) || handle == IntField(world, Field::LastVehicle);
}

bool EntityExists(const FuzzWorld& world, int32_t handle) {
  if (IsPlayer(world, handle)) return Has(world, PlayerExists);
  if (IsVehicle(world, handle)) return Has(world, VehicleExists);
  return Has(world, OthersExist);
}

bool EntityDead(const FuzzWorld& world, int32_t handle) {
  if (IsPlayer(world, handle)) return Has(world, PlayerDead);
  return IsVehicle(world, handle) && Has(world, VehicleDead);
}

// The glitched call's answer: the sane one inverted, or one no sane game gives.
void Glitch(char kind, bool hostile, sim::CallResult& result) {
  switch (kind) {
    case 'b': sim::SetResultInt(result, sim::ResultAsInt(result) != 0 ? 0 : (hostile ? -1 : 1)); break;
    case 'i':
      sim::SetResultInt(result, hostile ? std::numeric_limits<int32_t>::min() : ~sim::ResultAsInt(result));
      break;
    case 'k': sim::SetResultInt(result, hostile ? -1 : sim::ResultAsInt(result) ^ KeyDownBit); break;
    case 'f':
      sim::SetResultFloat(result, hostile ? std::numeric_limits<float>::quiet_NaN() : -sim::ResultAsFloat(result));
      break;
    case 'v': {
      const sim::Vec3 v = sim::ResultAsVector(result);
      const float nan = std::numeric_limits<float>::quiet_NaN();
      sim::SetResultVector(result, hostile ? sim::Vec3{nan, nan, nan} : sim::Vec3{-v.x, -v.y, -v.z});
      break;
    }
    default: break;
  }
}

// Counts the pass's calls and glitches the one the frame names.
void CountCall(FuzzWorld& world, char kind, sim::CallResult& result) {
  const int32_t call = world.callsThisPass++;
  if (world.glitch != 0 && call == (world.glitch & GlitchCallMask) - 1)
    Glitch(kind, (world.glitch & GlitchHostileBit) != 0, result);
}

void SaneAnswer(FuzzWorld& world, uint64_t hash, const sim::CallArguments& arguments, sim::CallResult& result) {
  switch (hash) {
    case vantor::CreateCameraWithParamsHash: sim::SetResultInt(result, IntField(world, Field::CameraHandle)); break;
    case vantor::IsGameplayCameraRenderingHash: sim::SetResultInt(result, Has(world, GameplayRendering)); break;
    case vantor::PlayerPedIdHash: sim::SetResultInt(result, IntField(world, Field::PlayerHandle)); break;
    case vantor::DoesEntityExistHash: sim::SetResultInt(result, EntityExists(world, arguments.Int(0))); break;
    case vantor::IsEntityDeadHash: sim::SetResultInt(result, EntityDead(world, arguments.Int(0))); break;
    case vantor::IsPedInAnyVehicleHash: sim::SetResultInt(result, Has(world, InVehicle)); break;
    case vantor::GetVehiclePedIsInHash:
      sim::SetResultInt(result, IntField(world, arguments.Bool(1) ? Field::LastVehicle : Field::Vehicle));
      break;
    case vantor::GetEntityCoordsHash:
      sim::SetResultVector(result, Vector(world, IsPlayer(world, arguments.Int(0)) ? Field::PlayerPositionX
                                                                                     : Field::VehiclePositionX));
      break;
    case vantor::GetEntityRotationHash: sim::SetResultVector(result, Vector(world, Field::RotationX)); break;
    case vantor::GetEntitySpeedHash: sim::SetResultFloat(result, FloatField(world, Field::Speed)); break;
    case vantor::GetVehicleMaxPassengersHash: sim::SetResultInt(result, IntField(world, Field::MaxPassengers)); break;
    case vantor::GetPedInVehicleSeatHash: {
      const bool player = Has(world, PlayerInEverySeat) || arguments.Int(1) == IntField(world, Field::PlayerSeat);
      sim::SetResultInt(result, IntField(world, player ? Field::PlayerHandle : Field::OtherPed));
      break;
    }
    case vantor::GetVehicleClassHash: sim::SetResultInt(result, IntField(world, Field::VehicleClass)); break;
    case vantor::GetEntityBoneIndexByNameHash: sim::SetResultInt(result, IntField(world, Field::BoneIndex)); break;
    case vantor::GetWorldPositionOfEntityBoneHash:
      sim::SetResultVector(result, Vector(world, Field::BonePositionX));
      break;
    case vantor::GetOffsetFromEntityGivenWorldCoordsHash:
      sim::SetResultVector(result, Vector(world, Field::LocalOffsetX));
      break;
    case vantor::GetOffsetFromEntityInWorldCoordsHash:
      sim::SetResultVector(result, Vector(world, Field::WorldOffsetX));
      break;
    case vantor::GetGameTimerHash: sim::SetResultInt(result, IntField(world, Field::Timer)); break;
    case vantor::GetDisabledControlNormalHash: {
      const int32_t control = arguments.Int(1);
      const float value = control == LookHorizontalControl ? FloatField(world, Field::LookX)
                          : control == LookVerticalControl ? FloatField(world, Field::LookY)
                                                           : 0.0f;
      sim::SetResultFloat(result, value);
      break;
    }
    default: break;  // no result
  }
}

}  // namespace

int32_t IntField(const FuzzWorld& world, Field field) { return world.ints[static_cast<int>(field)]; }
float FloatField(const FuzzWorld& world, Field field) { return world.floats[FloatSlot(field)]; }
void SetIntField(FuzzWorld& world, Field field, int32_t value) { world.ints[static_cast<int>(field)] = value; }
void SetFloatField(FuzzWorld& world, Field field, float value) { world.floats[FloatSlot(field)] = value; }
void SetVectorField(FuzzWorld& world, Field x, sim::Vec3 value) {
  const int slot = FloatSlot(x);
  world.floats[slot] = value.x;
  world.floats[slot + 1] = value.y;
  world.floats[slot + 2] = value.z;
}

void ResetWorld(FuzzWorld& world) {
  world = FuzzWorld{};
  const int32_t ints[] = {100000, 0x0101, 0x2001, 0x2001, 3, vantor::DriverSeat, 0, 27, 0, 0x3001};
  static_assert(sizeof ints / sizeof ints[0] == FirstFloatField);
  for (int i = 0; i < FirstFloatField; ++i) world.ints[i] = ints[i];
  // The seat point as a car's driver seat answers it, in the car's frame and in the world.
  const sim::Vec3 seat{-0.45f, 0.1f, 0.45f};
  for (const Field x : {Field::BonePositionX, Field::LocalOffsetX, Field::WorldOffsetX}) SetVectorField(world, x, seat);
}

void ApplyRecord(FuzzWorld& world, const uint8_t* record) {
  SetIntField(world, Field::Timer, TimerAfter(IntField(world, Field::Timer), record[0]));
  world.keysDown ^= static_cast<uint16_t>(record[1] | record[2] << 8);
  world.keyNoise = record[3];
  world.flags ^= record[4];
  world.glitch = record[5];
  world.callsThisPass = 0;
  for (int op = 0; op < OpsPerRecord; ++op) {
    const uint8_t* bytes = record + 6 + op * OpSize;
    const uint8_t field = bytes[0] & FieldMask;
    const auto mode = static_cast<ValueMode>(bytes[0] >> ValueModeShift);
    if (field >= FieldCount) continue;
    if (field < FirstFloatField) world.ints[field] = DecodeInt(mode, bytes + 1);
    else world.floats[field - FirstFloatField] = DecodeFloat(mode, bytes + 1);
  }
}

void AnswerNative(FuzzWorld& world, int index, const sim::CallArguments& arguments, sim::CallResult& result) {
  const sim::NativeEntry& native = sim::NativeAt(index);
  SaneAnswer(world, native.hash, arguments, result);
  CountCall(world, native.result, result);
}

int16_t AnswerKey(FuzzWorld& world, int32_t virtualKey) {
  uint16_t state = static_cast<uint16_t>(world.keyNoise * 0x0101u) & ~KeyDownBit;
  for (int key = 0; key < KeyCount; ++key)
    if (Keys[key] == virtualKey && (world.keysDown >> key & 1u) != 0) state |= KeyDownBit;
  sim::CallResult result{};
  sim::SetResultInt(result, static_cast<int16_t>(state));
  CountCall(world, 'k', result);
  return static_cast<int16_t>(sim::ResultAsInt(result));
}

}  // namespace vantor_fuzz
