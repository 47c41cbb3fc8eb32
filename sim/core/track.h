// The circuit: a flat closed road of about five kilometres, straights and bends of radii from
// 50 to 200 metres, with a grid of vehicles of different classes parked at its start. A
// scenario loads it with `track = "circuit"`; the live drive starts on it.
#pragma once

#include <string_view>
#include <vector>

#include "sim/core/scenario.h"

namespace sim {

constexpr std::string_view CircuitTrack = "circuit";

// The names a scenario's `track` key takes: "" (none) or CircuitTrack.
bool KnownTrack(std::string_view name);

// The circuit's centre line on the ground, points at most `spacing` metres apart from the start
// line round to the start line again (the last point is the first). It starts at the origin
// heading north (+y) and runs clockwise.
std::vector<Vec3> CircuitCentreLine(double spacing);

// The starting world of a live drive: the circuit, the grid parked on the start straight (a
// car, a sports car, a motorbike and an open-wheel car) and, at frame 0, the player on foot
// beside them on the grass.
Scenario CircuitStart();

}  // namespace sim
