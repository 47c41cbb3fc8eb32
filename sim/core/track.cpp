#include "sim/core/track.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// A straight (radius 0) or a bend turning by `turn` degrees, positive to the left.
struct TrackPiece {
  double length;  // a straight's
  double radius;
  double turn;
};

// Clockwise from the start line at the origin, heading north; the turns add up to -360 and
// the pieces close on the start line.
constexpr TrackPiece CircuitPieces[] = {
    {600.0, 0.0, 0.0},  {0.0, 200.0, -90.0},  {300.0, 0.0, 0.0},    {0.0, 80.0, 90.0},  {0.0, 80.0, -90.0},
    {400.0, 0.0, 0.0},  {0.0, 120.0, -180.0}, {200.0, 0.0, 0.0},    {0.0, 50.0, 90.0},  {250.0, 0.0, 0.0},
    {0.0, 150.0, 90.0}, {200.0, 0.0, 0.0},    {0.0, 185.0, -180.0}, {1060.0, 0.0, 0.0}, {0.0, 100.0, -90.0},
};

// The grid on the start straight: two vehicles abreast in each row, the player on the grass to
// the left of the car, facing up the straight.
constexpr double LaneCentre = 1.75;  // metres either side of the road's centre line
constexpr double FrontRow = 30.0, SecondRow = 18.0;
constexpr Vec3 PlayerBesideCar{-3.25f, -1.0f, 0.0f};  // in the car's frame

// Yaw 0 heads north (+y); positive yaw turns left.
double Forward(double yawDegrees, int axis) {
  const double yaw = yawDegrees * DegreesToRadians;
  return axis == 0 ? -std::sin(yaw) : std::cos(yaw);
}
double Left(double yawDegrees, int axis) {
  const double yaw = yawDegrees * DegreesToRadians;
  return axis == 0 ? -std::cos(yaw) : -std::sin(yaw);
}

ScenarioVehicle Parked(const char* name, int32_t vehicleClass, double across, double along, Vec3 seatBone,
                       int32_t maxPassengers) {
  ScenarioVehicle vehicle;
  vehicle.name = name;
  vehicle.vehicleClass = vehicleClass;
  vehicle.seatBone = seatBone;
  vehicle.maxPassengers = maxPassengers;
  vehicle.position = {static_cast<float>(across), static_cast<float>(along), 0.0f};
  return vehicle;
}

}  // namespace

bool KnownTrack(std::string_view name) { return name.empty() || name == CircuitTrack; }

std::vector<Vec3> CircuitCentreLine(double spacing) {
  double x = 0.0, y = 0.0, yaw = 0.0;
  std::vector<Vec3> line{{0.0f, 0.0f, 0.0f}};
  const auto add = [&line](double px, double py) {
    line.push_back({static_cast<float>(px), static_cast<float>(py), 0.0f});
  };
  for (const TrackPiece& piece : CircuitPieces) {
    const double length = piece.radius > 0.0 ? piece.radius * std::fabs(piece.turn) * DegreesToRadians : piece.length;
    const int steps = std::max(1, static_cast<int>(std::ceil(length / spacing)));
    if (piece.radius <= 0.0) {
      for (int i = 1; i <= steps; ++i)
        add(x + Forward(yaw, 0) * length * i / steps, y + Forward(yaw, 1) * length * i / steps);
      x += Forward(yaw, 0) * length;
      y += Forward(yaw, 1) * length;
      continue;
    }
    // About the bend's centre, to the left of the road for a left turn and to the right otherwise.
    const double side = piece.turn > 0.0 ? 1.0 : -1.0;
    const double centreX = x + side * piece.radius * Left(yaw, 0), centreY = y + side * piece.radius * Left(yaw, 1);
    for (int i = 1; i <= steps; ++i) {
      const double heading = yaw + piece.turn * i / steps;
      add(centreX - side * piece.radius * Left(heading, 0), centreY - side * piece.radius * Left(heading, 1));
    }
    yaw += piece.turn;
    x = centreX - side * piece.radius * Left(yaw, 0);
    y = centreY - side * piece.radius * Left(yaw, 1);
  }
  line.back() = line.front();  // closed, whatever the rounding
  return line;
}

Scenario CircuitStart() {
  Scenario start;
  start.name = "drive";
  start.track = std::string(CircuitTrack);
  start.frames = 0;
  start.vehicles = {
      Parked("car", 1, -LaneCentre, FrontRow, {-0.45f, 0.1f, 0.45f}, 3),
      Parked("sports_car", 6, LaneCentre, FrontRow, {-0.4f, -0.1f, 0.3f}, 1),
      Parked("motorbike", 8, -LaneCentre, SecondRow, {0.0f, -0.25f, 0.8f}, 1),
      Parked("open_wheel", 22, LaneCentre, SecondRow, {0.0f, -0.4f, 0.2f}, 0),
  };
  ScenarioEvent standBeside;
  standBeside.kind = EventKind::StandNear;
  standBeside.vehicle = 0;
  standBeside.offset = PlayerBesideCar;
  start.events.push_back(standBeside);
  return start;
}

}  // namespace sim
