// Scenario builders for the camera suites: vehicles and the player placed in the world.
// Header-only, so suites pick them up without a build change.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "sim/core/native_table.h"
#include "sim/core/world.h"

namespace vantor_test {

// A car at a position with a rotation (pitch, roll, yaw), standing still, with the seat bone.
inline int32_t AddCar(sim::World& world, sim::Vec3 position = {}, sim::Vec3 rotation = {},
                      int32_t vehicleClass = 0) {
  sim::Vehicle car;
  car.position = position;
  car.rotation = rotation;
  car.vehicleClass = vehicleClass;
  return sim::AddVehicle(world, car);
}

// Whether the game's gameplay camera renders for a seated player, made as the game makes it:
// rendering, another script has switched script cameras off and the view is a follow camera;
// not rendering, the view is the game's first person.
inline void ShowGameplayCamera(sim::World& world, bool rendering) {
  if (rendering) world.scriptCamerasRendering = false;
  world.vehicleCameraViewMode = rendering ? sim::DefaultViewMode : sim::FirstPersonViewMode;
}

// The player in a new car at the origin, in a seat (-1 the driver's), in the game's first-person
// view, so the gameplay camera is off: everything the first-person camera waits for.
inline int32_t SeatPlayerInCar(sim::World& world, int32_t seat = -1) {
  const int32_t car = AddCar(world);
  sim::EnterVehicle(world, car, seat);
  ShowGameplayCamera(world, false);
  return car;
}

// The player steps out and stands at a point.
inline void StandAt(sim::World& world, sim::Vec3 position) { sim::LeaveVehicle(world, position); }

// The game forgets a vehicle: the handle no longer exists and every answer about it is empty.
// The player drops out of it.
inline void RemoveVehicle(sim::World& world, int32_t handle) {
  std::erase_if(world.vehicles, [handle](const sim::Vehicle& vehicle) { return vehicle.handle == handle; });
  if (world.player.vehicle == handle) world.player.vehicle = 0;
}

// Runs an action once, just before the first answer to the named native from now on: the world
// changes between two calls of one pass.
inline void BeforeFirstAnswer(sim::World& world, std::string native, std::function<void(sim::World&)> action) {
  world.beforeAnswer = [native = std::move(native), action = std::move(action), done = false](sim::World& w,
                                                                                            int index) mutable {
    if (done || native != sim::NativeAt(index).name) return;
    done = true;
    action(w);
  };
}

}  // namespace vantor_test
