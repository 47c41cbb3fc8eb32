// The roads of a drive: one under the path each vehicle drives in the scenario. A scenario is
// deterministic and only its events move the vehicles, so the paths are known before the run.
#pragma once

#include <vector>

#include "sim/core/scenario.h"

namespace sim {

// Points of a road's centre line, on the ground, about RoadPointSpacing apart; the road runs
// on beyond both ends of the path, straight on, so that a vehicle never stands at its end.
struct Road {
  std::vector<Vec3> centre;
  std::vector<double> distance;  // metres along the road, the same index as `centre`
};

constexpr double RoadPointSpacing = 2.0;
constexpr double RoadWidth = 7.0;  // two lanes; each vehicle drives in the right-hand one
constexpr double RoadRunOnAhead = 400.0;
constexpr double RoadRunOnBehind = 150.0;

// Plays the scenario's events on a world of its own, without the plugin: one road a vehicle,
// in the scenario's order. A scenario on a track has the track's road alone.
std::vector<Road> PlanRoads(const Scenario& scenario);

}  // namespace sim
