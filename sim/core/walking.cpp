#include "sim/core/walking.h"

#include <cmath>

#include "sim/core/vehicle_motion.h"
#include "sim/core/world.h"

namespace sim {

void StepWalking(World& world, double seconds) {
  Player& player = world.player;
  if (player.walkRight == 0.0f && player.walkAhead == 0.0f) return;
  if (player.vehicle != 0 || player.dead || !IsFinite(player.position) || !(seconds > 0.0)) return;
  const double right = Within(player.walkRight, -1.0f, 1.0f) * WalkSpeed * seconds,
               ahead = Within(player.walkAhead, -1.0f, 1.0f) * WalkSpeed * seconds;
  const double facing = PlayerFacing(world) * DegreesToRadians;
  // Yaw 0 looks along +y and positive yaw turns left: ahead is (-sin, cos), right is (cos, sin).
  player.position.x = static_cast<float>(player.position.x + right * std::cos(facing) - ahead * std::sin(facing));
  player.position.y = static_cast<float>(player.position.y + right * std::sin(facing) + ahead * std::cos(facing));
}

}  // namespace sim
