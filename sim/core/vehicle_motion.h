// How a vehicle moves under its driver's throttle, brake and steering. A vehicle that has had
// a motion input is the world's to move from then on: each step sets its speed, turn rate,
// pitch and roll from the inputs and its class (top speed and drag, a turn rate that falls
// with speed, body roll from the sideways acceleration, pitch from the forward one). A vehicle
// that never had one keeps the speed and turn rate that scenario events give it.
#pragma once

#include <cstdint>

namespace sim {

struct Vehicle;

// What the driver asks for; values outside the ranges are brought to the nearest bound, NaN to 0.
struct MotionInputs {
  float throttle = 0.0f;  // 0 to 1
  float brake = 0.0f;     // 0 to 1: brakes while rolling forward, reverses from a stop
  float steer = 0.0f;     // -1 full left to 1 full right
};

struct VehicleMotion {
  bool driven = false;  // set by the first motion input, never cleared
  MotionInputs inputs;
  float steering = 0.0f;  // carried: the wheels' lock, following `inputs.steer` at SteeringRate
};

// How a class of vehicle moves.
struct MotionClass {
  float topSpeed;          // metres a second forward, where drag takes all of full throttle
  float acceleration;      // metres a second squared at full throttle from a stop
  float braking;           // metres a second squared at full brake
  float reverseTopSpeed;   // metres a second backward
  float fullLockTurnRate;  // degrees a second at full lock, at TurnInSpeed
  float turnFalloffSpeed;  // metres a second: the turn rate halves this much above TurnInSpeed
  float rollPerSideways;   // degrees of body roll per m/s^2 sideways, outwards from the bend
  bool leansIntoBends;     // two wheels: leans by atan(sideways / g) into the bend instead
  float pitchPerForward;   // degrees nose up per m/s^2 of acceleration (down when braking)
};

// An input brought within [low, high], NaN to 0: how motion and walking inputs are taken.
float Within(float value, float low, float high);

// The class's row, or the ordinary car's for a class without one of its own.
const MotionClass& MotionOfClass(int32_t vehicleClass);

// One step of `seconds` for a driven vehicle: sets its speed, turn rate, pitch and roll. The
// world then turns and moves it by them, level with the ground. Non-finite values are left alone.
void StepVehicleMotion(Vehicle& vehicle, double seconds);

}  // namespace sim
