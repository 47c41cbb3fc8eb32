// The view's projection on known points, its cutting at the near plane, the ground it sees,
// the game camera the world places, and the roads planned from a scenario.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/render/road.h"
#include "sim/render/view.h"
#include "sim/scenario/scenario_file.h"

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;
constexpr double Pixel = 1e-6;  // projections of exact points land within a hair of the pixel

sim::View ViewFrom(sim::Vec3 eye, sim::Vec3 rotation, float fov = 60.0f) {
  return sim::MakeView({eye, rotation, fov, 0.05f}, Width, Height);
}

sim::PixelPoint Project(const sim::View& view, sim::Vec3 world) { return sim::ToPixels(view, sim::ToCamera(view, world)); }

TEST(Projection, KnownPointsLandWhereTheVerticalFieldOfViewPutsThem) {
  // Yaw 90 looks along -x; a point 10 m along the line of sight is the picture's centre.
  const sim::View turned = ViewFrom({5.0f, 5.0f, 2.0f}, {0.0f, 0.0f, 90.0f});
  const sim::PixelPoint centre = Project(turned, {-5.0f, 5.0f, 2.0f});
  EXPECT_NEAR(centre.x, Width / 2.0, Pixel);
  EXPECT_NEAR(centre.y, Height / 2.0, Pixel);

  // Half the vertical field of view up is the top edge, down the bottom edge, whatever the aspect.
  const sim::View level = ViewFrom({0.0f, 0.0f, 0.0f}, {}, 60.0f);
  const float rise = static_cast<float>(10.0 * std::tan(30.0 * 3.14159265358979323846 / 180.0));
  EXPECT_NEAR(Project(level, {0.0f, 10.0f, rise}).y, 0.0, 1e-3);
  EXPECT_NEAR(Project(level, {0.0f, 10.0f, -rise}).y, Height, 1e-3);
  // Square pixels: the same angle to the right is as many pixels from the centre.
  EXPECT_NEAR(Project(level, {rise, 10.0f, 0.0f}).x, Width / 2.0 + Height / 2.0, 1e-3);
}

TEST(Projection, YawPitchAndRollEachMoveThePictureTheRightWay) {
  const sim::Vec3 ahead{0.0f, 10.0f, 0.0f};
  // Turned left, what was straight ahead is now on the right.
  EXPECT_GT(Project(ViewFrom({}, {0.0f, 0.0f, 10.0f}), ahead).x, Width / 2.0 + 50.0);
  // Looking up, it is below the centre.
  EXPECT_GT(Project(ViewFrom({}, {10.0f, 0.0f, 0.0f}), ahead).y, Height / 2.0 + 50.0);
  // Rolled with the right side down, a point to the right on the horizon rises in the picture,
  // and one to the left sinks.
  const sim::View rolled = ViewFrom({}, {0.0f, 10.0f, 0.0f});
  EXPECT_LT(Project(rolled, {5.0f, 10.0f, 0.0f}).y, Height / 2.0 - 50.0);
  EXPECT_GT(Project(rolled, {-5.0f, 10.0f, 0.0f}).y, Height / 2.0 + 50.0);
}

TEST(Projection, CutsAtTheNearPlaneWithoutWrappingAround) {
  const sim::View view = ViewFrom({}, {});
  // From 2 m behind on the left to 10 m ahead on the right: only the part ahead is kept, so
  // the near end stays on the left of the picture instead of wrapping to the right.
  sim::CameraPoint behind = sim::ToCamera(view, {-2.0f, -2.0f, -1.0f});
  sim::CameraPoint front = sim::ToCamera(view, {2.0f, 10.0f, -1.0f});
  ASSERT_TRUE(sim::ClipSegment(view, behind, front));
  EXPECT_DOUBLE_EQ(behind.ahead, view.nearClip);
  EXPECT_LT(sim::ToPixels(view, behind).x, 0.0) << "the cut end lies far out on the left";
  EXPECT_GT(sim::ToPixels(view, front).x, Width / 2.0);
  sim::CameraPoint a = sim::ToCamera(view, {0.0f, -1.0f, 0.0f}), b = sim::ToCamera(view, {1.0f, -5.0f, 0.0f});
  EXPECT_FALSE(sim::ClipSegment(view, a, b)) << "wholly behind";

  const std::vector<sim::CameraPoint> square{sim::ToCamera(view, {-1.0f, -1.0f, -1.0f}), sim::ToCamera(view, {1.0f, -1.0f, -1.0f}),
                                             sim::ToCamera(view, {1.0f, 3.0f, -1.0f}), sim::ToCamera(view, {-1.0f, 3.0f, -1.0f})};
  const std::vector<sim::CameraPoint> kept = sim::ClipPolygon(view, square);
  ASSERT_EQ(kept.size(), 4u);
  for (const sim::CameraPoint& point : kept) EXPECT_GE(point.ahead, view.nearClip);
  std::vector<sim::CameraPoint> behindOnly = square;
  for (sim::CameraPoint& point : behindOnly) point.ahead = -std::fabs(point.ahead) - 1.0;
  EXPECT_TRUE(sim::ClipPolygon(view, behindOnly).empty());
}

TEST(Projection, TheGroundFillsBelowTheHorizonAndTiltsWithRoll) {
  const std::vector<sim::PixelPoint> level = sim::GroundOnPicture(ViewFrom({0.0f, 0.0f, 1.5f}, {}), 0.0, Width, Height);
  ASSERT_EQ(level.size(), 4u);
  for (const sim::PixelPoint& corner : level) EXPECT_TRUE(std::fabs(corner.y - Height / 2.0) < Pixel || corner.y == Height);
  EXPECT_EQ(sim::GroundOnPicture(ViewFrom({0.0f, 0.0f, 1.5f}, {89.0f, 0.0f, 0.0f}), 0.0, Width, Height).size(), 0u)
      << "looking up, no ground";
  EXPECT_EQ(sim::GroundOnPicture(ViewFrom({0.0f, 0.0f, 1.5f}, {-89.0f, 0.0f, 0.0f}), 0.0, Width, Height).size(), 4u);
  // Right side down: the horizon meets the right edge higher than the left.
  double leftEdge = 0.0, rightEdge = 0.0;
  for (const sim::PixelPoint& corner : sim::GroundOnPicture(ViewFrom({0.0f, 0.0f, 1.5f}, {0.0f, 5.0f, 0.0f}), 0.0, Width, Height)) {
    if (corner.x == 0.0 && corner.y < Height) leftEdge = corner.y;
    if (corner.x == Width && corner.y < Height) rightEdge = corner.y;
  }
  EXPECT_LT(rightEdge, leftEdge - 50.0);
}

TEST(GameCamera, FollowsBehindTheVehicleAndOverTheShoulderOnFoot) {
  sim::World world;
  sim::Vehicle car;
  car.position = {100.0f, 50.0f, 0.0f};
  car.rotation = {0.0f, 0.0f, 90.0f};  // heading along -x
  const int32_t handle = sim::AddVehicle(world, car);
  sim::EnterVehicle(world, handle, -1);
  world.vehicleCameraViewMode = 0;
  const sim::CameraView near = sim::GameCameraView(world);
  world.vehicleCameraViewMode = 2;
  const sim::CameraView far = sim::GameCameraView(world);
  EXPECT_GT(near.position.x, car.position.x + 3.0f) << "behind a vehicle heading along -x is towards +x";
  EXPECT_GT(near.position.z, 1.0f);
  EXPECT_GT(far.position.x, near.position.x) << "a higher view mode stands farther back";
  const sim::PixelPoint seen = Project(sim::MakeView(near, Width, Height), car.position);
  EXPECT_NEAR(seen.x, Width / 2.0, 1.0);
  EXPECT_GT(seen.y, Height / 2.0) << "looked down on";
  EXPECT_LT(seen.y, Height);

  // The scripted camera renders only while active with script cameras rendering.
  world.camera.created = true;
  world.camera.handle = sim::ScriptedCameraHandle;
  world.camera.active = true;
  world.camera.position = {1.0f, 2.0f, 3.0f};
  EXPECT_NE(sim::RenderedView(world).position.x, 1.0f);
  world.scriptCamerasRendering = true;
  EXPECT_EQ(sim::RenderedView(world).position.x, 1.0f);

  // On foot 5 m east of the car, the player faces it: the car is in the picture.
  sim::LeaveVehicle(world, {105.0f, 50.0f, 0.0f});
  world.scriptCamerasRendering = false;
  const sim::PixelPoint carSeen = Project(sim::MakeView(sim::RenderedView(world), Width, Height), car.position);
  EXPECT_GT(carSeen.x, 0.0);
  EXPECT_LT(carSeen.x, Width);
}

TEST(Roads, RunUnderEachPathHalfALaneToTheRightOfTheCentreAndOnBeyondItsEnds) {
  sim::Scenario scenario;
  std::string error;
  ASSERT_TRUE(sim::ParseScenario("frames = 250\nframe_time_ms = 20\nevents = [\n"
                                 "  { at = 0, do = \"drive\", vehicle = \"car\", speed = 10.0 },\n"
                                 "]\n[[vehicle]]\nname = \"car\"\n[[vehicle]]\nname = \"parked\"\nposition = [50.0, 0.0, 0.0]\n",
                                 "roads.toml", scenario, error))
      << error;
  const std::vector<sim::Road> roads = sim::PlanRoads(scenario);
  ASSERT_EQ(roads.size(), 2u);
  const sim::Road& road = roads[0];
  // The car drives 10 m/s for 5 s along +y from the origin, in the right-hand lane.
  for (const sim::Vec3& point : road.centre) EXPECT_NEAR(point.x, -sim::RoadWidth / 4.0, 1e-3);
  EXPECT_NEAR(road.centre.front().y, -sim::RoadRunOnBehind, 1e-3);
  EXPECT_NEAR(road.centre.back().y, 50.0 + sim::RoadRunOnAhead, 3.0);
  EXPECT_NEAR(road.distance.back(), road.centre.back().y - road.centre.front().y, 0.5);
  for (size_t i = 1; i < road.centre.size(); ++i) EXPECT_LE(road.distance[i] - road.distance[i - 1], sim::RoadPointSpacing + 0.21);
  EXPECT_GT(roads[1].centre.size(), 100u) << "a vehicle that never moves still stands on a road";
}

}  // namespace
