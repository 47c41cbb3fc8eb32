#include "sim/render/road.h"

#include <cmath>

#include "sim/core/track.h"

namespace sim {

namespace {

double Distance(Vec3 a, Vec3 b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

// The vehicle drives in the right-hand lane, so the road's centre is half a lane to its left.
Vec3 CentreBeside(const Vehicle& vehicle) {
  return LocalToWorld(vehicle.position, {0.0f, 0.0f, vehicle.rotation.z}, {static_cast<float>(-RoadWidth / 4.0), 0.0f, 0.0f});
}

Vec3 Along(Vec3 from, float yaw, double metres) {
  return LocalToWorld(from, {0.0f, 0.0f, yaw}, {0.0f, static_cast<float>(metres), 0.0f});
}

void Append(Road& road, Vec3 point) {
  road.distance.push_back(road.centre.empty() ? 0.0 : road.distance.back() + Distance(road.centre.back(), point));
  road.centre.push_back(point);
}

}  // namespace

std::vector<Road> PlanRoads(const Scenario& scenario) {
  if (scenario.track == CircuitTrack) {
    Road circuit;
    for (const Vec3& point : CircuitCentreLine(RoadPointSpacing)) Append(circuit, point);
    return {circuit};
  }
  World world;
  SetUpWorld(world, scenario);
  std::vector<std::vector<Vec3>> paths(world.vehicles.size());
  std::vector<float> firstYaw(world.vehicles.size()), lastYaw(world.vehicles.size());
  size_t cursor = 0;
  for (int32_t frame = 0; frame < scenario.frames; ++frame) {
    ApplyEvents(world, scenario, frame, cursor);
    for (size_t i = 0; i < world.vehicles.size(); ++i) {
      const Vehicle& vehicle = world.vehicles[i];
      if (!vehicle.exists || !IsFinite(vehicle.position) || !std::isfinite(vehicle.rotation.z)) continue;
      const Vec3 centre = CentreBeside(vehicle);
      if (paths[i].empty()) firstYaw[i] = vehicle.rotation.z;
      lastYaw[i] = vehicle.rotation.z;
      if (paths[i].empty() || Distance(paths[i].back(), centre) >= RoadPointSpacing) paths[i].push_back(centre);
    }
    AdvanceWorld(world, scenario.frameTimeMs);
  }

  std::vector<Road> roads(paths.size());
  for (size_t i = 0; i < paths.size(); ++i) {
    if (paths[i].empty()) continue;
    Road& road = roads[i];
    for (double back = RoadRunOnBehind; back > 0.0; back -= RoadPointSpacing)
      Append(road, Along(paths[i].front(), firstYaw[i], -back));
    for (const Vec3& point : paths[i]) Append(road, point);
    for (double ahead = RoadPointSpacing; ahead <= RoadRunOnAhead; ahead += RoadPointSpacing)
      Append(road, Along(paths[i].back(), lastYaw[i], ahead));
  }
  return roads;
}

}  // namespace sim
