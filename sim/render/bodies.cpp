// The vehicles and the player on foot as simple flat-shaded bodies. A vehicle's body is laid
// out around its seat bone, so that from the driver's seat the bonnet, the dashboard, the
// pillars and the roof stand where a driver of that seat would see them. Two-wheelers and
// open-wheel cars have no cabin: a rider sees the tank and the handlebar, an open-wheel driver
// the nose and the front wheels.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "sim/render/scene.h"

namespace sim {

namespace {

// How a face looks from its outer side and from its inner side (from inside the vehicle). The
// outer panels' inner sides are hidden in a real body, and are not drawn.
struct Finish {
  Rgb outside, inside;
  double outsideAlpha = 1.0, insideAlpha = 1.0;
  bool inner = true;  // the inner side is drawn
};

constexpr Rgb Paintwork{0.70, 0.13, 0.11};
constexpr Rgb Trim{0.16, 0.16, 0.17};
constexpr Rgb Headliner{0.60, 0.59, 0.56};
constexpr Rgb Dashboard{0.22, 0.22, 0.23};
constexpr Rgb Tyre{0.07, 0.07, 0.07};
constexpr Rgb Grip{0.05, 0.05, 0.05};
constexpr Finish Body{Paintwork, Paintwork, 1.0, 1.0, false};
constexpr Finish Door{Paintwork, Trim};
constexpr Finish Roof{Paintwork, Headliner};
constexpr Finish Pillar{Paintwork, Trim};
constexpr Finish Dash{Dashboard, Dashboard};
constexpr Finish Wheel{Tyre, Tyre, 1.0, 1.0, false};
constexpr Finish Steering{Grip, Grip};
constexpr Finish Mirror{Dashboard, Dashboard};
// Glass is dark from outside, nearly clear from inside.
constexpr Finish Glass{{0.16, 0.20, 0.26}, {0.60, 0.72, 0.82}, 0.72, 0.10};
constexpr Finish SpokedWheel{Tyre, Tyre, 1.0, 1.0, true};  // in the body's middle plane: both sides show
constexpr Finish Trousers{{0.16, 0.20, 0.32}, {0.16, 0.20, 0.32}};
constexpr Finish Shirt{{0.82, 0.80, 0.74}, {0.82, 0.80, 0.74}};
constexpr Finish Skin{{0.80, 0.62, 0.50}, {0.80, 0.62, 0.50}};

// Light from the sun, high in the south-east; a face turned away keeps AmbientLight.
constexpr Vec3 Sun{0.35f, -0.45f, 0.82f};
constexpr double AmbientLight = 0.55;

// The body around the seat bone s (vehicle frame: x right, y forward, z up; the position on
// the ground). Lengths forward and back of the seat, heights above it, in metres.
constexpr double HalfWidthBesideSeat = 0.45;  // from the seat to the body's side
constexpr double MinimumHalfWidth = 0.6;
constexpr double TopInset = 0.12;  // the roof is narrower than the body
constexpr double FrontAhead = 2.45, WindscreenAhead = 1.1, RoofFrontAhead = 0.5, BPillarBehind = 0.45,
                 RoofRearBehind = 1.3, RearWindowBehind = 1.95, RearBehind = 2.35;
constexpr double SillHeight = 0.22;  // above the ground
constexpr double BonnetFrontAbove = 0.28, BeltlineAbove = 0.42, BootAbove = 0.40, RoofAbove = 1.02;
constexpr double DashboardBackAhead = 0.68, DashboardBottomAbove = 0.05;
constexpr double PillarWidth = 0.09;
constexpr double MirrorWidth = 0.22, MirrorHeight = 0.06, MirrorBelowRoof = 0.10, MirrorBehindRoofFront = -0.12;
constexpr double WheelRadius = 0.33, WheelInFromEnds = 0.78, WheelOutset = 0.01;  // just outside the side
constexpr double FloorAheadOfTail = 0.3;
constexpr int WheelSides = 10;
constexpr double SteeringAhead = 0.5, SteeringAbove = 0.35, SteeringRadius = 0.19, SteeringTilt = 25.0;
constexpr double SteeringRim = 0.035;
constexpr int SteeringSides = 24;

// Two wheels (motorcycles, class 8; cycles, 13), around the seat, in metres.
constexpr double BikeWheelRadius = 0.32, BikeFrontAxleAhead = 0.95, BikeRearAxleBehind = 0.75;
constexpr double TankHalfWidth = 0.16, TankFrom = 0.15, TankTo = 0.7, TankBelow = 0.3, TankAbove = 0.02;
constexpr double SaddleHalfWidth = 0.13, SaddleBehind = 0.65, SaddleBelow = 0.25, SaddleTopBelow = 0.05;
constexpr double EngineHalfWidth = 0.14, EngineBehind = 0.3, EngineBottom = 0.3;
constexpr double BarHalfWidth = 0.36, BarAhead = 0.62, BarDepth = 0.04, BarAbove = 0.18, BarThickness = 0.04;
constexpr double ClusterHalfWidth = 0.09, ClusterAhead = 0.7, ClusterDepth = 0.1, ClusterAbove = 0.2, ClusterHeight = 0.1;
constexpr double FairingHalfWidth = 0.14, FairingAhead = 0.8, FairingDepth = 0.1, FairingHeight = 0.25;
constexpr double ForkHalfWidth = 0.03, ForkTopAbove = 0.15;

// Open wheels (class 22), around the seat, in metres.
constexpr double TubHalfWidth = 0.42, TubBehind = 0.3, TubAhead = 0.55, TubBottom = 0.08, TubAbove = 0.32;
constexpr double NoseHalfWidth = 0.22, NoseAhead = 2.6, NoseAbove = 0.15;
constexpr double EngineCoverHalfWidth = 0.35, EngineCoverBehind = 1.6, EngineCoverAbove = 0.45;
constexpr double FrontWingHalfWidth = 0.9, FrontWingFrom = 2.45, FrontWingTo = 2.75, FrontWingLow = 0.05, FrontWingHigh = 0.1;
constexpr double RearWingHalfWidth = 0.5, RearWingFrom = 1.9, RearWingTo = 1.6, RearWingLow = 0.75, RearWingHigh = 0.8;
constexpr double OpenWheelRadius = 0.33, OpenWheelOut = 0.75, OpenFrontAxleAhead = 1.9, OpenRearAxleBehind = 1.25;
constexpr double OpenSteeringAhead = 0.35, OpenSteeringAbove = 0.15, OpenSteeringRadius = 0.13;

constexpr int32_t MotorcycleClass = 8, CycleClass = 13, OpenWheelClass = 22;

// The player on foot: legs, body and head as boxes, in metres.
constexpr double HipHeight = 0.85, ShoulderHeight = 1.5, HeadBottom = 1.55, HeadTop = 1.8;
constexpr double BodyHalfWidth = 0.24, BodyHalfDepth = 0.14, HeadHalf = 0.11;

constexpr double Pi = std::numbers::pi;

struct Face {
  std::vector<Vec3> corners;  // world, convex, in order
  Finish finish;
  Vec3 inner;                 // a point on the inner side, to tell outer from inner
  bool rim = false;           // a closed line of SteeringRim thickness instead of a filled face
  double depth = 0.0;         // distance from the eye to its centre, for the drawing order
};

struct Frame {
  const Vehicle* vehicle;  // the frame's position and rotation
  Vec3 inner;              // world
};

Vec3 Minus(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(Vec3 a, Vec3 b) { return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y + static_cast<double>(a.z) * b.z; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

void AddFace(std::vector<Face>& faces, const Frame& frame, std::initializer_list<Vec3> local, const Finish& finish) {
  Face face{{}, finish, frame.inner};
  for (const Vec3& point : local) face.corners.push_back(LocalToWorld(*frame.vehicle, point));
  faces.push_back(std::move(face));
}

// A box between two corners of the frame, each face seen from outside.
void AddBox(std::vector<Face>& faces, const Vehicle& frameOf, Vec3 low, Vec3 high, const Finish& finish) {
  const Frame frame{&frameOf, LocalToWorld(frameOf, {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2})};
  const float x0 = low.x, y0 = low.y, z0 = low.z, x1 = high.x, y1 = high.y, z1 = high.z;
  AddFace(faces, frame, {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, finish);
  AddFace(faces, frame, {{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}, finish);
  AddFace(faces, frame, {{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}}, finish);
  AddFace(faces, frame, {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}}, finish);
  AddFace(faces, frame, {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}, finish);
}

// The steering wheel before the seat, leaning back towards the driver.
void AddSteeringWheel(std::vector<Face>& faces, const Frame& frame, Vec3 seat, double aheadOfSeat, double aboveSeat,
                      double radius) {
  Face rim{{}, Steering, frame.inner, true};
  const double tilt = SteeringTilt * DegreesToRadians;
  const auto ahead = static_cast<float>(seat.y + aheadOfSeat), above = static_cast<float>(seat.z + aboveSeat);
  for (int k = 0; k < SteeringSides; ++k) {
    const double angle = 2.0 * Pi * k / SteeringSides;
    const double across = radius * std::cos(angle), upright = radius * std::sin(angle);
    rim.corners.push_back(LocalToWorld(*frame.vehicle, {static_cast<float>(seat.x + across),
                                                        static_cast<float>(ahead - upright * std::sin(tilt)),
                                                        static_cast<float>(above + upright * std::cos(tilt))}));
  }
  faces.push_back(std::move(rim));
}

void AddTwoWheeler(std::vector<Face>& faces, const Vehicle& vehicle, Vec3 seat);
void AddOpenWheeler(std::vector<Face>& faces, const Vehicle& vehicle, Vec3 seat);

// A car's outline around its seat bone, in the vehicle's frame: across (x) the body's half
// width, lengths along y, heights along z.
struct CarOutline {
  float halfWidth, roofHalfWidth, pillar;
  float front, windscreen, roofFront, bPillar, roofRear, rearWindow, rear, dashboardBack;
  float sill, bonnetFront, beltline, boot, roof, dashboardBottom;
};

CarOutline OutlineAround(Vec3 seat) {
  const auto ahead = [&](double metres) { return static_cast<float>(seat.y + metres); };
  const auto above = [&](double metres) { return static_cast<float>(seat.z + metres); };
  CarOutline car;
  car.halfWidth = static_cast<float>(std::max(std::fabs(seat.x) + HalfWidthBesideSeat, MinimumHalfWidth));
  car.roofHalfWidth = car.halfWidth - static_cast<float>(TopInset);
  car.pillar = static_cast<float>(PillarWidth);
  car.front = ahead(FrontAhead);
  car.windscreen = ahead(WindscreenAhead);
  car.roofFront = ahead(RoofFrontAhead);
  car.bPillar = ahead(-BPillarBehind);
  car.roofRear = ahead(-RoofRearBehind);
  car.rearWindow = ahead(-RearWindowBehind);
  car.rear = ahead(-RearBehind);
  car.dashboardBack = ahead(DashboardBackAhead);
  car.sill = static_cast<float>(SillHeight);
  car.bonnetFront = above(BonnetFrontAbove);
  car.beltline = above(BeltlineAbove);
  car.boot = above(BootAbove);
  car.roof = above(RoofAbove);
  car.dashboardBottom = above(DashboardBottomAbove);
  return car;
}

// The panels across the car, from the bonnet over the roof to the boot, the floor and the two big windows.
void AddCarShell(std::vector<Face>& faces, const Frame& frame, const CarOutline& car) {
  const float right = car.halfWidth, left = -right, roofRight = car.roofHalfWidth, roofLeft = -roofRight;
  AddFace(faces, frame, {{left, car.windscreen, car.beltline}, {right, car.windscreen, car.beltline},
                         {right, car.front, car.bonnetFront}, {left, car.front, car.bonnetFront}}, Body);  // bonnet
  AddFace(faces, frame, {{left, car.front, car.bonnetFront}, {right, car.front, car.bonnetFront},
                         {right, car.front, car.sill}, {left, car.front, car.sill}}, Body);  // nose
  AddFace(faces, frame, {{left, car.rear, car.boot}, {right, car.rear, car.boot}, {right, car.rear, car.sill},
                         {left, car.rear, car.sill}}, Body);  // tail
  AddFace(faces, frame, {{left, car.rearWindow, car.beltline}, {right, car.rearWindow, car.beltline},
                         {right, car.rear, car.boot}, {left, car.rear, car.boot}}, Body);  // boot lid
  AddFace(faces, frame, {{roofLeft, car.roofRear, car.roof}, {roofRight, car.roofRear, car.roof},
                         {roofRight, car.roofFront, car.roof}, {roofLeft, car.roofFront, car.roof}}, Roof);
  const float floorBack = car.rear + static_cast<float>(FloorAheadOfTail);
  AddFace(faces, frame, {{left, floorBack, car.sill}, {right, floorBack, car.sill}, {right, car.dashboardBack, car.sill},
                         {left, car.dashboardBack, car.sill}}, Dash);  // cabin floor
  AddFace(faces, frame, {{left, car.windscreen, car.beltline}, {right, car.windscreen, car.beltline},
                         {roofRight, car.roofFront, car.roof}, {roofLeft, car.roofFront, car.roof}}, Glass);  // windscreen
  AddFace(faces, frame, {{roofLeft, car.roofRear, car.roof}, {roofRight, car.roofRear, car.roof},
                         {right, car.rearWindow, car.beltline}, {left, car.rearWindow, car.beltline}}, Glass);  // rear window
}

// A car's wheel: a disc just outside its side at `x`, around `axle`.
void AddCarWheel(std::vector<Face>& faces, const Vehicle& vehicle, const Frame& frame, float x, float side, float axle) {
  Face wheel{{}, Wheel, frame.inner};
  for (int k = 0; k < WheelSides; ++k) {
    const double angle = 2.0 * Pi * k / WheelSides;
    wheel.corners.push_back(LocalToWorld(vehicle, {x + side * static_cast<float>(WheelOutset),
                                                   axle + static_cast<float>(WheelRadius * std::cos(angle)),
                                                   static_cast<float>(WheelRadius * (1.0 + std::sin(angle)))}));
  }
  faces.push_back(std::move(wheel));
}

// One side (-1 left, 1 right): its panels, its windows and pillars, its two wheels.
void AddCarSide(std::vector<Face>& faces, const Vehicle& vehicle, const Frame& frame, const CarOutline& car, float side) {
  const float x = side * car.halfWidth, roofX = side * car.roofHalfWidth, inward = -side * car.pillar;
  const float windscreen = car.windscreen, rearWindow = car.rearWindow, sill = car.sill, beltline = car.beltline;
  AddFace(faces, frame, {{x, windscreen, sill}, {x, car.front, sill}, {x, car.front, car.bonnetFront},
                         {x, windscreen, beltline}}, Body);  // wing
  AddFace(faces, frame, {{x, rearWindow, sill}, {x, windscreen, sill}, {x, windscreen, beltline},
                         {x, rearWindow, beltline}}, Door);  // doors
  AddFace(faces, frame, {{x, car.rear, sill}, {x, rearWindow, sill}, {x, rearWindow, beltline}, {x, car.rear, car.boot}},
          Body);  // rear quarter
  AddFace(faces, frame, {{x, windscreen, beltline}, {roofX, car.roofFront, car.roof}, {roofX, car.roofRear, car.roof},
                         {x, rearWindow, beltline}}, Glass);  // side windows
  AddFace(faces, frame, {{x, windscreen, beltline}, {x + inward, windscreen, beltline},
                         {roofX + inward, car.roofFront, car.roof}, {roofX, car.roofFront, car.roof}}, Pillar);  // A pillar
  AddFace(faces, frame, {{x, rearWindow, beltline}, {x + inward, rearWindow, beltline},
                         {roofX + inward, car.roofRear, car.roof}, {roofX, car.roofRear, car.roof}}, Pillar);  // C pillar
  AddFace(faces, frame, {{x, car.bPillar - car.pillar, beltline}, {x, car.bPillar + car.pillar, beltline},
                         {roofX, car.bPillar + car.pillar, car.roof}, {roofX, car.bPillar - car.pillar, car.roof}},
          Pillar);  // B pillar
  for (const float axle : {car.front - static_cast<float>(WheelInFromEnds), car.rear + static_cast<float>(WheelInFromEnds)})
    AddCarWheel(faces, vehicle, frame, x, side, axle);
}

// What the driver sees before them: the dashboard, the mirror, the steering wheel.
void AddCarCockpit(std::vector<Face>& faces, const Frame& frame, const CarOutline& car, Vec3 seat) {
  const float right = car.halfWidth, left = -right, back = car.dashboardBack;
  AddFace(faces, frame, {{left, back, car.beltline}, {right, back, car.beltline}, {right, car.windscreen, car.beltline},
                         {left, car.windscreen, car.beltline}}, Dash);  // dashboard top
  AddFace(faces, frame, {{left, back, car.beltline}, {right, back, car.beltline}, {right, back, car.dashboardBottom},
                         {left, back, car.dashboardBottom}}, Dash);  // its face
  const float mirrorY = car.roofFront - static_cast<float>(MirrorBehindRoofFront);
  const float mirrorTop = car.roof - static_cast<float>(MirrorBelowRoof);
  const auto mirrorHalfWidth = static_cast<float>(MirrorWidth / 2), mirrorHeight = static_cast<float>(MirrorHeight);
  AddFace(faces, frame, {{-mirrorHalfWidth, mirrorY, mirrorTop}, {mirrorHalfWidth, mirrorY, mirrorTop},
                         {mirrorHalfWidth, mirrorY, mirrorTop - mirrorHeight}, {-mirrorHalfWidth, mirrorY, mirrorTop - mirrorHeight}},
          Mirror);
  AddSteeringWheel(faces, frame, seat, SteeringAhead, SteeringAbove, SteeringRadius);
}

void AddCar(std::vector<Face>& faces, const Vehicle& vehicle, Vec3 seat) {
  const CarOutline car = OutlineAround(seat);
  const Frame frame{&vehicle, LocalToWorld(vehicle, {0.0f, (car.front + car.rear) / 2, (car.sill + car.roof) / 2})};
  AddCarShell(faces, frame, car);
  for (const float side : {-1.0f, 1.0f}) AddCarSide(faces, vehicle, frame, car, side);
  AddCarCockpit(faces, frame, car, seat);
}

void AddVehicle(std::vector<Face>& faces, const Vehicle& vehicle) {
  const Vec3 seat = vehicle.hasSeatBone ? vehicle.seatBoneOffset : Vehicle{}.seatBoneOffset;
  if (vehicle.vehicleClass == MotorcycleClass || vehicle.vehicleClass == CycleClass) return AddTwoWheeler(faces, vehicle, seat);
  if (vehicle.vehicleClass == OpenWheelClass) return AddOpenWheeler(faces, vehicle, seat);
  AddCar(faces, vehicle, seat);
}

// A wheel as a disc standing in the plane x = `side` of the vehicle's frame.
void AddWheel(std::vector<Face>& faces, const Frame& frame, float side, double axle, double radius, const Finish& finish) {
  Face wheel{{}, finish, frame.inner};
  for (int k = 0; k < WheelSides; ++k) {
    const double angle = 2.0 * Pi * k / WheelSides;
    wheel.corners.push_back(LocalToWorld(*frame.vehicle, {side, static_cast<float>(axle + radius * std::cos(angle)),
                                                          static_cast<float>(radius * (1.0 + std::sin(angle)))}));
  }
  faces.push_back(std::move(wheel));
}

// A box between two corners given around the seat (across, ahead, above).
void AddBoxAroundSeat(std::vector<Face>& faces, const Vehicle& vehicle, Vec3 seat, double x0, double y0, double z0,
                      double x1, double y1, double z1, const Finish& finish) {
  const auto at = [&](double x, double y, double z) {
    return Vec3{static_cast<float>(seat.x + x), static_cast<float>(seat.y + y), static_cast<float>(z)};
  };
  AddBox(faces, vehicle, at(x0, y0, z0), at(x1, y1, z1), finish);
}

void AddTwoWheeler(std::vector<Face>& faces, const Vehicle& vehicle, Vec3 seat) {
  const double z = seat.z;
  AddBoxAroundSeat(faces, vehicle, seat, -TankHalfWidth, TankFrom, z - TankBelow, TankHalfWidth, TankTo, z + TankAbove, Body);
  AddBoxAroundSeat(faces, vehicle, seat, -SaddleHalfWidth, -SaddleBehind, z - SaddleBelow, SaddleHalfWidth, TankFrom,
                   z - SaddleTopBelow, Dash);
  AddBoxAroundSeat(faces, vehicle, seat, -EngineHalfWidth, -EngineBehind, EngineBottom, EngineHalfWidth, TankTo,
                   z - TankBelow, Dash);
  AddBoxAroundSeat(faces, vehicle, seat, -BarHalfWidth, BarAhead, z + BarAbove, BarHalfWidth, BarAhead + BarDepth,
                   z + BarAbove + BarThickness, Steering);
  AddBoxAroundSeat(faces, vehicle, seat, -ClusterHalfWidth, ClusterAhead, z + ClusterAbove, ClusterHalfWidth,
                   ClusterAhead + ClusterDepth, z + ClusterAbove + ClusterHeight, Dash);
  AddBoxAroundSeat(faces, vehicle, seat, -FairingHalfWidth, FairingAhead, z, FairingHalfWidth, FairingAhead + FairingDepth,
                   z + FairingHeight, Body);
  const Frame frame{&vehicle, LocalToWorld(vehicle, {seat.x, seat.y, static_cast<float>(z / 2)})};
  const double front = seat.y + BikeFrontAxleAhead, rear = seat.y - BikeRearAxleBehind;
  const auto f = [](double value) { return static_cast<float>(value); };
  for (const double side : {-ForkHalfWidth, ForkHalfWidth})
    AddFace(faces, frame, {{f(seat.x + side), f(front), f(BikeWheelRadius)}, {f(seat.x + side), f(seat.y + FairingAhead), f(z + ForkTopAbove)},
                           {f(seat.x + side), f(seat.y + FairingAhead + FairingDepth), f(z + ForkTopAbove)},
                           {f(seat.x + side), f(front + BarDepth), f(BikeWheelRadius)}},
            Steering);
  for (const double axle : {front, rear}) AddWheel(faces, frame, seat.x, axle, BikeWheelRadius, SpokedWheel);
}

void AddOpenWheeler(std::vector<Face>& faces, const Vehicle& vehicle, Vec3 seat) {
  const double z = seat.z;
  const auto f = [](double value) { return static_cast<float>(value); };
  const Frame cockpit{&vehicle, LocalToWorld(vehicle, {seat.x, seat.y, f(z)})};
  // The cockpit's walls, open above, painted outside and trimmed inside.
  const float x0 = f(seat.x - TubHalfWidth), x1 = f(seat.x + TubHalfWidth), y0 = f(seat.y - TubBehind),
              y1 = f(seat.y + TubAhead), bottom = f(TubBottom), top = f(z + TubAbove);
  AddFace(faces, cockpit, {{x0, y0, bottom}, {x0, y1, bottom}, {x0, y1, top}, {x0, y0, top}}, Door);
  AddFace(faces, cockpit, {{x1, y0, bottom}, {x1, y1, bottom}, {x1, y1, top}, {x1, y0, top}}, Door);
  AddFace(faces, cockpit, {{x0, y1, bottom}, {x1, y1, bottom}, {x1, y1, top}, {x0, y1, top}}, Dash);
  AddFace(faces, cockpit, {{x0, y0, bottom}, {x1, y0, bottom}, {x1, y0, top}, {x0, y0, top}}, Dash);
  AddBoxAroundSeat(faces, vehicle, seat, -NoseHalfWidth, TubAhead, TubBottom, NoseHalfWidth, NoseAhead, z + NoseAbove, Body);
  AddBoxAroundSeat(faces, vehicle, seat, -EngineCoverHalfWidth, -EngineCoverBehind, TubBottom, EngineCoverHalfWidth,
                   -TubBehind, z + EngineCoverAbove, Body);
  AddBoxAroundSeat(faces, vehicle, seat, -FrontWingHalfWidth, FrontWingFrom, FrontWingLow, FrontWingHalfWidth,
                   FrontWingTo, FrontWingHigh, Dash);
  AddBoxAroundSeat(faces, vehicle, seat, -RearWingHalfWidth, -RearWingFrom, RearWingLow, RearWingHalfWidth,
                   -RearWingTo, RearWingHigh, Dash);
  const Frame body{&vehicle, LocalToWorld(vehicle, {seat.x, seat.y, f(z / 2)})};
  for (const double side : {-1.0, 1.0})
    for (const double axle : {seat.y + OpenFrontAxleAhead, seat.y - OpenRearAxleBehind})
      AddWheel(faces, body, f(seat.x + side * OpenWheelOut), axle, OpenWheelRadius, Wheel);
  AddSteeringWheel(faces, cockpit, seat, OpenSteeringAhead, OpenSteeringAbove, OpenSteeringRadius);
}

void AddPlayer(std::vector<Face>& faces, const World& world) {
  Vehicle standing;  // the player's own frame
  standing.position = world.player.position;
  standing.rotation = {0.0f, 0.0f, PlayerFacing(world)};
  const auto w = static_cast<float>(BodyHalfWidth), d = static_cast<float>(BodyHalfDepth), h = static_cast<float>(HeadHalf);
  AddBox(faces, standing, {-w, -d, 0.0f}, {w, d, static_cast<float>(HipHeight)}, Trousers);
  AddBox(faces, standing, {-w, -d, static_cast<float>(HipHeight)}, {w, d, static_cast<float>(ShoulderHeight)}, Shirt);
  AddBox(faces, standing, {-h, -h, static_cast<float>(HeadBottom)}, {h, h, static_cast<float>(HeadTop)}, Skin);
}

void SetColour(Painter& painter, const Rgb& colour, double light, double alpha) {
  SetColour(painter, Rgba{colour.red * light, colour.green * light, colour.blue * light, alpha});
}

void DrawFace(Painter& painter, const View& view, const Face& face) {
  std::vector<CameraPoint> points;
  points.reserve(face.corners.size());
  for (const Vec3& corner : face.corners) points.push_back(ToCamera(view, corner));
  NewPath(painter);
  if (face.rim) {
    // A ring of segments, each cut at the near plane by itself.
    for (size_t i = 0; i < points.size(); ++i) AddCameraSegment(painter, view, points[i], points[(i + 1) % points.size()]);
    SetLineWidth(painter, SteeringRim * view.pixelsPerUnit / std::max(face.depth, view.nearClip));
    SetLineCap(painter, LineCap::Round);
    SetColour(painter, face.finish.outside, 1.0, 1.0);
    Stroke(painter);
    return;
  }
  // The outer side is the one away from the body's inner point; the sun lights it.
  Vec3 normal = Cross(Minus(face.corners[1], face.corners[0]), Minus(face.corners[2], face.corners[0]));
  if (Dot(normal, Minus(face.inner, face.corners[0])) > 0.0) normal = {-normal.x, -normal.y, -normal.z};
  const bool fromOutside = Dot(normal, Minus(view.eye, face.corners[0])) >= 0.0;
  if (!fromOutside && !face.finish.inner) return;
  AddCameraPolygon(painter, view, points);
  const double length = std::sqrt(Dot(normal, normal));
  const double sun = length > 0.0 ? Dot(normal, Sun) / length : 0.0;
  if (fromOutside)
    SetColour(painter, face.finish.outside, AmbientLight + (1.0 - AmbientLight) * std::max(0.0, sun), face.finish.outsideAlpha);
  else
    SetColour(painter, face.finish.inside, 1.0, face.finish.insideAlpha);
  Fill(painter);
}

}  // namespace

void DrawBodies(Painter& painter, const View& view, const World& world) {
  std::vector<Face> faces;
  for (const Vehicle& vehicle : world.vehicles)
    if (vehicle.exists && IsFinite(vehicle.position) && IsFinite(vehicle.rotation) && IsFinite(vehicle.seatBoneOffset))
      AddVehicle(faces, vehicle);
  const bool onFoot = ExistingVehicle(world, world.player.vehicle) == nullptr;
  if (onFoot && !world.player.dead && IsFinite(world.player.position)) AddPlayer(faces, world);

  for (Face& face : faces) {
    Vec3 centre{};
    for (const Vec3& corner : face.corners) centre = {centre.x + corner.x, centre.y + corner.y, centre.z + corner.z};
    const auto n = static_cast<float>(face.corners.size());
    const Vec3 offset = Minus({centre.x / n, centre.y / n, centre.z / n}, view.eye);
    face.depth = std::sqrt(Dot(offset, offset));
  }
  std::stable_sort(faces.begin(), faces.end(), [](const Face& a, const Face& b) { return a.depth > b.depth; });
  for (const Face& face : faces) DrawFace(painter, view, face);
}

}  // namespace sim
