// The player character, vehicles and seats, as the game reports them.
#include <cmath>
#include <cstring>

#include "sim/core/native_answers.h"

namespace sim::answers {

namespace {

bool IsPlayer(const World& world, int32_t handle) { return handle != 0 && handle == world.player.handle; }

}  // namespace

void PlayerPedId(World& world, const CallArguments&, CallResult& result) { SetResultInt(result, world.player.handle); }

void DoesEntityExist(World& world, const CallArguments& arguments, CallResult& result) {
  const int32_t handle = arguments.Int(0);
  const bool exists = IsPlayer(world, handle) ? world.player.exists : ExistingVehicle(world, handle) != nullptr;
  SetResultInt(result, exists ? 1 : 0);
}

void IsEntityDead(World& world, const CallArguments& arguments, CallResult& result) {
  SetResultInt(result, IsPlayer(world, arguments.Int(0)) && world.player.dead ? 1 : 0);
}

void IsPedInAnyVehicle(World& world, const CallArguments& arguments, CallResult& result) {
  SetResultInt(result, IsPlayer(world, arguments.Int(0)) && world.player.vehicle != 0 ? 1 : 0);
}

void GetVehiclePedIsIn(World& world, const CallArguments& arguments, CallResult& result) {
  int32_t vehicle = 0;
  if (IsPlayer(world, arguments.Int(0))) vehicle = arguments.Bool(1) ? world.player.lastVehicle : world.player.vehicle;
  SetResultInt(result, vehicle);
}

void GetEntityCoords(World& world, const CallArguments& arguments, CallResult& result) {
  const int32_t handle = arguments.Int(0);
  Vec3 position;
  if (IsPlayer(world, handle)) {
    position = PlayerPosition(world);
  } else if (const Vehicle* vehicle = FindVehicle(world, handle)) {
    position = vehicle->position;
  }
  SetResultVector(result, position);
}

void GetEntityRotation(World& world, const CallArguments& arguments, CallResult& result) {
  if (arguments.Int(1) != 2) world.errors.emplace_back("GetEntityRotation with a rotation order other than 2");
  const Vehicle* vehicle = FindVehicle(world, arguments.Int(0));
  SetResultVector(result, vehicle != nullptr ? ReportedRotation(vehicle->rotation) : Vec3{});
}

void GetEntitySpeed(World& world, const CallArguments& arguments, CallResult& result) {
  const Vehicle* vehicle = FindVehicle(world, arguments.Int(0));
  // The game reports the magnitude: reversing is as fast as driving forward.
  SetResultFloat(result, vehicle != nullptr ? std::fabs(vehicle->speed) : 0.0f);
}

void GetVehicleMaxPassengers(World& world, const CallArguments& arguments, CallResult& result) {
  const Vehicle* vehicle = FindVehicle(world, arguments.Int(0));
  SetResultInt(result, vehicle != nullptr ? vehicle->maxPassengers : 0);
}

void GetPedInVehicleSeat(World& world, const CallArguments& arguments, CallResult& result) {
  const int32_t handle = arguments.Int(0);
  const int32_t seat = arguments.Int(1);
  int32_t ped = 0;
  if (handle != 0 && world.player.vehicle == handle && world.player.seat == seat) {
    ped = world.player.handle;
  } else if (const Vehicle* vehicle = FindVehicle(world, handle)) {
    const int64_t slot = static_cast<int64_t>(seat) + 1;
    if (slot >= 0 && slot < static_cast<int64_t>(vehicle->otherOccupants.size()))
      ped = vehicle->otherOccupants[static_cast<size_t>(slot)];
  }
  SetResultInt(result, ped);
}

void GetVehicleClass(World& world, const CallArguments& arguments, CallResult& result) {
  const Vehicle* vehicle = FindVehicle(world, arguments.Int(0));
  SetResultInt(result, vehicle != nullptr ? vehicle->vehicleClass : 0);
}

void GetEntityBoneIndexByName(World& world, const CallArguments& arguments, CallResult& result) {
  const Vehicle* vehicle = FindVehicle(world, arguments.Int(0));
  const bool found = vehicle != nullptr && vehicle->hasSeatBone && std::strcmp(arguments.Text(1), "seat_dside_f") == 0;
  SetResultInt(result, found ? SeatBoneIndex : -1);
}

void GetWorldPositionOfEntityBone(World& world, const CallArguments& arguments, CallResult& result) {
  const Vehicle* vehicle = FindVehicle(world, arguments.Int(0));
  Vec3 position;
  if (vehicle != nullptr && vehicle->hasSeatBone && arguments.Int(1) == SeatBoneIndex)
    position = LocalToWorld(*vehicle, vehicle->seatBoneOffset);
  else if (vehicle != nullptr)
    position = vehicle->position;  // the game answers an unknown bone with the entity's origin
  SetResultVector(result, position);
}

void GetOffsetFromEntityGivenWorldCoords(World& world, const CallArguments& arguments, CallResult& result) {
  const Vehicle* vehicle = FindVehicle(world, arguments.Int(0));
  const Vec3 point{arguments.Float(1), arguments.Float(2), arguments.Float(3)};
  SetResultVector(result, vehicle != nullptr ? WorldToLocal(*vehicle, point) : Vec3{});
}

void GetOffsetFromEntityInWorldCoords(World& world, const CallArguments& arguments, CallResult& result) {
  const Vehicle* vehicle = FindVehicle(world, arguments.Int(0));
  const Vec3 point{arguments.Float(1), arguments.Float(2), arguments.Float(3)};
  SetResultVector(result, vehicle != nullptr ? LocalToWorld(*vehicle, point) : Vec3{});
}

void SetPedResetFlag(World& world, const CallArguments& arguments, CallResult&) {
  if (IsPlayer(world, arguments.Int(0)) && arguments.Int(1) == 166 && arguments.Bool(2))
    world.resetFlagFrame = world.frame;
}

}  // namespace sim::answers
