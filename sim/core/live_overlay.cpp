#include "sim/core/live_overlay.h"

#include <cmath>
#include <cstdio>

namespace sim {

namespace {

constexpr double KilometresPerHourPerMetrePerSecond = 3.6;

}  // namespace

std::vector<std::string> LiveStatusLines(const World& world, double framesPerSecond, bool mouseFree) {
  std::vector<std::string> lines;
  char line[128];
  if (const Vehicle* vehicle = ExistingVehicle(world, world.player.vehicle)) {
    std::snprintf(line, sizeof line, "%.0f km/h, vehicle class %d",
                  std::fabs(vehicle->speed) * KilometresPerHourPerMetrePerSecond,
                  static_cast<int>(vehicle->vehicleClass));
    lines.emplace_back(line);
  } else {
    lines.emplace_back("on foot (F: get in)");
  }
  std::snprintf(line, sizeof line, "view mode %d, camera: %s", static_cast<int>(world.vehicleCameraViewMode),
                RenderingCameraName(CameraRendering(world)));
  lines.emplace_back(line);
  std::snprintf(line, sizeof line, "%.0f frames a second", framesPerSecond);
  lines.emplace_back(line);
  lines.emplace_back(mouseFree ? "mouse free: click to look; F1: keys" : "F1: keys");
  return lines;
}

}  // namespace sim
