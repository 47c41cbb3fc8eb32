// Scenario builders for the camera suites: vehicles and the player placed in the world.
// Header-only, so suites pick them up without a build change.
#pragma once

#include <cstdint>

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

// The player in a new car at the origin, in a seat (-1 the driver's), with the game's gameplay
// camera switched off: everything the first-person camera waits for.
inline int32_t SeatPlayerInCar(sim::World& world, int32_t seat = -1) {
  const int32_t car = AddCar(world);
  sim::EnterVehicle(world, car, seat);
  world.gameplayCameraRendering = false;
  return car;
}

// The player steps out and stands at a point.
inline void StandAt(sim::World& world, sim::Vec3 position) { sim::LeaveVehicle(world, position); }

}  // namespace vantor_test
