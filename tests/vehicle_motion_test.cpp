// How the world moves a vehicle under throttle, brake and steering, as a table of drives: each
// case holds its inputs for a while on a bare world and checks what the driver would feel.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "sim/core/world.h"

namespace {

constexpr int32_t FrameTimeMs = 16;
constexpr int32_t Car = 1, SportsCar = 6, Motorbike = 8, OpenWheel = 22;

struct Drive {
  sim::World world;
  sim::Vehicle& vehicle() { return world.vehicles.front(); }

  Drive(int32_t vehicleClass, float speed) {
    sim::Vehicle vehicle;
    vehicle.vehicleClass = vehicleClass;
    vehicle.speed = speed;
    sim::AddVehicle(world, vehicle);
  }
  // Holds the inputs for `seconds` of frames.
  Drive& Hold(sim::MotionInputs inputs, double seconds) {
    vehicle().motion.driven = true;
    vehicle().motion.inputs = inputs;
    for (int frame = 0; frame < std::lround(seconds * 1000.0 / FrameTimeMs); ++frame)
      sim::AdvanceWorld(world, FrameTimeMs);
    return *this;
  }
};

struct Case {
  const char* name;
  int32_t vehicleClass;
  float startSpeed;
  sim::MotionInputs inputs;
  double seconds;
  std::function<void(const sim::Vehicle&)> check;
};

const Case Cases[] = {
    {"full throttle nears the top speed and never passes it",
     Car,
     0.0f,
     {1.0f, 0.0f, 0.0f},
     60.0,
     [](const sim::Vehicle& v) {
       EXPECT_GT(v.speed, 0.97f * sim::MotionOfClass(Car).topSpeed);
       EXPECT_LE(v.speed, sim::MotionOfClass(Car).topSpeed);
     }},
    {"an open-wheel car is faster than a sports car, which is faster than a car",
     OpenWheel,
     0.0f,
     {1.0f, 0.0f, 0.0f},
     5.0,
     [](const sim::Vehicle& v) {
       Drive sports(SportsCar, 0.0f), car(Car, 0.0f);
       sports.Hold({1.0f, 0.0f, 0.0f}, 5.0);
       car.Hold({1.0f, 0.0f, 0.0f}, 5.0);
       EXPECT_GT(v.speed, sports.vehicle().speed);
       EXPECT_GT(sports.vehicle().speed, car.vehicle().speed);
     }},
    {"letting go coasts to a stop and stays stopped",
     Car,
     10.0f,
     {},
     60.0,
     [](const sim::Vehicle& v) { EXPECT_EQ(v.speed, 0.0f); }},
    {"braking stops, then held it reverses, no faster than the reverse top speed",
     Car,
     20.0f,
     {0.0f, 1.0f, 0.0f},
     30.0,
     [](const sim::Vehicle& v) {
       EXPECT_LT(v.speed, -0.9f * sim::MotionOfClass(Car).reverseTopSpeed);
       EXPECT_GE(v.speed, -sim::MotionOfClass(Car).reverseTopSpeed);
     }},
    {"throttle while reversing brakes first, then drives forward",
     Car,
     -8.0f,
     {1.0f, 0.0f, 0.0f},
     3.0,
     [](const sim::Vehicle& v) { EXPECT_GT(v.speed, 2.0f); }},
    {"a standing vehicle does not turn at full lock",
     Car,
     0.0f,
     {0.0f, 0.0f, 1.0f},
     2.0,
     [](const sim::Vehicle& v) {
       EXPECT_EQ(v.turnRate, 0.0f);
       EXPECT_EQ(v.rotation.z, 0.0f);
     }},
    {"steering right turns right (yaw falls) and the car's body rolls out of the bend (right side up)",
     Car,
     15.0f,
     {0.3f, 0.0f, 1.0f},
     1.0,
     [](const sim::Vehicle& v) {
       EXPECT_LT(v.turnRate, 0.0f);
       EXPECT_LT(v.rotation.z, 0.0f);
       EXPECT_LT(v.rotation.y, 0.0f) << "a right-hand bend throws the body left: its left side goes down";
       EXPECT_GT(v.rotation.y, -8.0f) << "a car's roll is a few degrees";
     }},
    {"a motorbike leans into the bend by the angle that balances it",
     Motorbike,
     15.0f,
     {0.0f, 0.0f, -1.0f},
     3.0,
     [](const sim::Vehicle& v) {
       const double sideways = v.speed * v.turnRate * sim::DegreesToRadians;
       const double balance = -std::atan(sideways / 9.81) / sim::DegreesToRadians;
       EXPECT_LT(v.rotation.y, -20.0f) << "a left-hand bend lowers its left side";
       EXPECT_NEAR(v.rotation.y, balance, 1.0);
     }},
    {"reversing with the wheel to the right turns the nose left",
     Car,
     -5.0f,
     {0.0f, 0.5f, 1.0f},
     0.5,
     [](const sim::Vehicle& v) { EXPECT_GT(v.turnRate, 0.0f); }},
    {"accelerating lifts the nose",
     SportsCar,
     5.0f,
     {1.0f, 0.0f, 0.0f},
     1.0,
     [](const sim::Vehicle& v) { EXPECT_GT(v.rotation.x, 1.0f); }},
    {"braking dips the nose",
     SportsCar,
     30.0f,
     {0.0f, 1.0f, 0.0f},
     1.0,
     [](const sim::Vehicle& v) { EXPECT_LT(v.rotation.x, -1.0f); }},
    {"inputs out of range count as the nearest bound, NaN as none",
     Car,
     10.0f,
     {NAN, 7.0f, NAN},
     0.5,
     [](const sim::Vehicle& v) {
       Drive braked(Car, 10.0f);
       braked.Hold({0.0f, 1.0f, 0.0f}, 0.5);
       EXPECT_EQ(v.speed, braked.vehicle().speed);
       EXPECT_EQ(v.turnRate, 0.0f);
     }},
};

TEST(VehicleMotion, DrivesAsADriverExpects) {
  for (const Case& c : Cases) {
    SCOPED_TRACE(c.name);
    Drive drive(c.vehicleClass, c.startSpeed);
    drive.Hold(c.inputs, c.seconds);
    c.check(drive.vehicle());
    EXPECT_EQ(drive.vehicle().position.z, 0.0f) << "a driven vehicle stays on the flat ground, whatever its pitch";
  }
}

TEST(VehicleMotion, TheTurnRateAtFullLockFallsWithSpeed) {
  float previous = INFINITY;
  for (const float speed : {8.0f, 15.0f, 25.0f, 40.0f}) {
    Drive drive(Car, speed);
    drive.Hold({0.0f, 0.0f, -1.0f}, 0.5);  // the lock is full after a third of a second
    const float rate = drive.vehicle().turnRate;
    EXPECT_GT(rate, 0.0f) << speed;
    EXPECT_LT(rate, previous) << "at " << speed << " m/s";
    previous = rate;
  }
}

// A vehicle no motion input reached moves by its scenario speed and turn rate, pitch included.
TEST(VehicleMotion, AVehicleWithoutInputsMovesAsScenariosMoveIt) {
  sim::World world;
  sim::Vehicle climbing;
  climbing.speed = 10.0f;
  climbing.turnRate = 5.0f;
  climbing.rotation = {10.0f, 2.0f, 0.0f};
  sim::AddVehicle(world, climbing);
  for (int frame = 0; frame < 100; ++frame) sim::AdvanceWorld(world, FrameTimeMs);
  const sim::Vehicle& v = world.vehicles.front();
  EXPECT_EQ(v.speed, 10.0f);
  EXPECT_EQ(v.turnRate, 5.0f);
  EXPECT_EQ(v.rotation.x, 10.0f);
  EXPECT_EQ(v.rotation.y, 2.0f);
  EXPECT_GT(v.position.z, 2.0f) << "pitched up, it climbs";
}

}  // namespace
