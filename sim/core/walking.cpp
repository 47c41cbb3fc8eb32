#include "sim/core/walking.h"

#include <algorithm>
#include <cmath>

#include "sim/core/world.h"

namespace sim {

void StepWalking(World& world, double seconds) {
  Player& player = world.player;
  if (player.walkRight == 0.0f && player.walkAhead == 0.0f) return;
  if (player.vehicle != 0 || player.dead || !IsFinite(player.position) || !(seconds > 0.0)) return;
  const auto within = [](float value) {
    return std::isnan(value) ? 0.0 : std::clamp(static_cast<double>(value), -1.0, 1.0);
  };
  const double right = within(player.walkRight) * WalkSpeed * seconds,
               ahead = within(player.walkAhead) * WalkSpeed * seconds;
  const double facing = PlayerFacing(world) * DegreesToRadians;
  // Yaw 0 looks along +y and positive yaw turns left: ahead is (-sin, cos), right is (cos, sin).
  player.position.x = static_cast<float>(player.position.x + right * std::cos(facing) - ahead * std::sin(facing));
  player.position.y = static_cast<float>(player.position.y + right * std::sin(facing) + ahead * std::cos(facing));
}

}  // namespace sim
