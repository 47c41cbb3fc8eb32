#include "world_builders.h"

namespace vantor_test {

int32_t AddCar(sim::World& world, sim::Vec3 position, sim::Vec3 rotation, int32_t vehicleClass) {
  sim::Vehicle car;
  car.position = position;
  car.rotation = rotation;
  car.vehicleClass = vehicleClass;
  return sim::AddVehicle(world, car);
}

int32_t SeatPlayerInCar(sim::World& world, int32_t seat) {
  const int32_t car = AddCar(world);
  sim::EnterVehicle(world, car, seat);
  world.gameplayCameraRendering = false;
  return car;
}

void StandAt(sim::World& world, sim::Vec3 position) { sim::LeaveVehicle(world, position); }

}  // namespace vantor_test
