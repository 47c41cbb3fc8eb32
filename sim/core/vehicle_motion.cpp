#include "sim/core/vehicle_motion.h"

#include <algorithm>
#include <cmath>

#include "sim/core/world.h"

namespace sim {

namespace {

constexpr double StoppedSpeed = 0.05;             // m/s: slower counts as standing
constexpr double ReverseAccelerationShare = 0.5;  // of the forward acceleration
constexpr double RollingResistance = 0.3;         // m/s^2, always slowing, never reversing
constexpr double SteeringRate = 3.0;              // lock a second: a key's full lock takes a third of a second
constexpr double TurnInSpeed = 4.0;               // m/s: slower, the turn rate falls to 0 with the speed
constexpr double BodyResponseSeconds = 0.2;       // pitch and roll follow their targets with this lag
constexpr double Gravity = 9.81;

//                             top  accel brake rev  lock falloff roll lean  pitch
constexpr MotionClass Car{45.0f, 6.0f, 9.0f, 12.0f, 60.0f, 15.0f, 0.45f, false, 0.3f};
constexpr MotionClass SportsCar{62.0f, 9.0f, 11.0f, 12.0f, 55.0f, 18.0f, 0.3f, false, 0.25f};
constexpr MotionClass Motorbike{55.0f, 9.0f, 10.0f, 6.0f, 70.0f, 14.0f, 0.0f, true, 0.35f};
constexpr MotionClass Bicycle{14.0f, 2.5f, 5.0f, 3.0f, 80.0f, 8.0f, 0.0f, true, 0.2f};
constexpr MotionClass OpenWheel{80.0f, 12.0f, 16.0f, 10.0f, 50.0f, 22.0f, 0.1f, false, 0.12f};

struct ClassRow {
  int32_t vehicleClass;
  const MotionClass* motion;
};
// The game's class numbers: 6 sports, 7 super, 8 motorcycles, 13 cycles, 22 open wheel.
constexpr ClassRow ClassRows[] = {{6, &SportsCar}, {7, &SportsCar}, {8, &Motorbike}, {13, &Bicycle}, {22, &OpenWheel}};

double Sign(double value) { return value > 0.0 ? 1.0 : value < 0.0 ? -1.0 : 0.0; }

// The new forward speed after `seconds` of the inputs.
double NextSpeed(const MotionClass& motion, const MotionInputs& inputs, double speed, double seconds) {
  const double reverseAcceleration = motion.acceleration * ReverseAccelerationShare;
  double push = 0.0, stopping = 0.0;  // m/s^2: along the vehicle, and towards a stop
  if (speed > StoppedSpeed) {
    push = inputs.throttle * motion.acceleration;
    stopping = inputs.brake * motion.braking;
  } else if (speed < -StoppedSpeed) {
    push = -inputs.brake * reverseAcceleration;
    stopping = inputs.throttle * motion.braking;
  } else {
    push = inputs.throttle * motion.acceleration - inputs.brake * reverseAcceleration;
  }
  // Drag grows with the square of the speed and takes all of full throttle at the top speed.
  const bool backwards = speed < -StoppedSpeed || (speed <= StoppedSpeed && push < 0.0);
  const double top = backwards ? motion.reverseTopSpeed : motion.topSpeed;
  const double full = backwards ? reverseAcceleration : motion.acceleration;
  const double drag = full * (speed / top) * (speed / top) * Sign(speed);
  double next = speed + (push - drag) * seconds;
  const double slowing = (stopping + RollingResistance) * seconds;
  if (next > 0.0)
    next = std::max(0.0, next - slowing);
  else if (next < 0.0)
    next = std::min(0.0, next + slowing);
  return next;
}

// Degrees a second, positive turning left; reversing turns the other way for the same lock.
double TurnRate(const MotionClass& motion, double lock, double speed) {
  const double pace = std::fabs(speed);
  const double share = std::min(1.0, pace / TurnInSpeed) * motion.turnFalloffSpeed /
                       (motion.turnFalloffSpeed + std::max(0.0, pace - TurnInSpeed));
  return -lock * motion.fullLockTurnRate * share * (speed < 0.0 ? -1.0 : 1.0);
}

}  // namespace

float Within(float value, float low, float high) { return std::isnan(value) ? 0.0f : std::clamp(value, low, high); }

const MotionClass& MotionOfClass(int32_t vehicleClass) {
  for (const ClassRow& row : ClassRows)
    if (row.vehicleClass == vehicleClass) return *row.motion;
  return Car;
}

void StepVehicleMotion(Vehicle& vehicle, double seconds) {
  if (!(seconds > 0.0) || !std::isfinite(vehicle.speed) || !IsFinite(vehicle.rotation)) return;
  const MotionClass& motion = MotionOfClass(vehicle.vehicleClass);
  const MotionInputs& asked = vehicle.motion.inputs;
  const MotionInputs inputs{Within(asked.throttle, 0.0f, 1.0f), Within(asked.brake, 0.0f, 1.0f),
                            Within(asked.steer, -1.0f, 1.0f)};

  const double lockStep = SteeringRate * seconds;
  const double lock = vehicle.motion.steering +
                      std::clamp(static_cast<double>(inputs.steer - vehicle.motion.steering), -lockStep, lockStep);
  const double speed = NextSpeed(motion, inputs, vehicle.speed, seconds);
  const double turnRate = TurnRate(motion, lock, speed);

  // Accelerations in the vehicle's frame: forward, and sideways towards the left.
  const double forward = (speed - vehicle.speed) / seconds;
  const double sideways = speed * turnRate * DegreesToRadians;
  const double rollTarget =
      motion.leansIntoBends ? -std::atan(sideways / Gravity) / DegreesToRadians : motion.rollPerSideways * sideways;
  const double pitchTarget = motion.pitchPerForward * forward;
  const double follow = 1.0 - std::exp(-seconds / BodyResponseSeconds);

  vehicle.motion.steering = static_cast<float>(lock);
  vehicle.speed = static_cast<float>(speed);
  vehicle.turnRate = static_cast<float>(turnRate);
  vehicle.rotation.x = static_cast<float>(vehicle.rotation.x + (pitchTarget - vehicle.rotation.x) * follow);
  vehicle.rotation.y = static_cast<float>(vehicle.rotation.y + (rollTarget - vehicle.rotation.y) * follow);
}

}  // namespace sim
