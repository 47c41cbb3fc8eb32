// The player walking on foot, to reach the vehicle to get into: the walking input moves the
// player ahead along the way it faces (PlayerFacing: towards the vehicle last used, else north)
// and sideways across it, at WalkSpeed at full input. In a vehicle it does nothing.
#pragma once

namespace sim {

struct World;

constexpr double WalkSpeed = 4.0;  // metres a second at full input: a jog

// One step of `seconds`; a player without walking input is not moved at all.
void StepWalking(World& world, double seconds);

}  // namespace sim
