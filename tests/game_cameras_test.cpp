// The simulated game's cameras: which one renders, what V does to the player's view, how the
// game reports a rotation past vertical, and the first-person camera through a loop.
#include <algorithm>
#include <cmath>
#include <memory>

#include "camera_fixture.h"
#include "sim/cli/builtin_drive.h"
#include "sim/linux/play.h"
#include "sim/scenario/scenario_file.h"

namespace vantor_test {
namespace {

using sim::RenderingCamera;

// The 32-bit answer of a traced call.
int32_t IntResult(const sim::TraceRecord& record) { return static_cast<int32_t>(record.result.slots[0]); }

TEST(GameCameras, OneCameraRendersByTheGamesPriority) {
  struct Case {
    const char* what;
    bool cutscene, scriptRendering, oursActive, otherActive, otherLast, cinematic, inVehicle;
    int32_t viewMode;
    RenderingCamera expected;
  };
  const Case cases[] = {
      {"on foot", false, false, false, false, false, false, false, 4, RenderingCamera::Gameplay},
      {"follow view", false, false, false, false, false, false, true, 1, RenderingCamera::Gameplay},
      {"close follow view", false, false, false, false, false, false, true, 0, RenderingCamera::Gameplay},
      {"the game's first person", false, false, false, false, false, false, true, 4, RenderingCamera::FirstPerson},
      {"the cinematic camera", false, false, false, false, false, true, true, 1, RenderingCamera::Cinematic},
      {"ours", false, true, true, false, false, true, true, 1, RenderingCamera::Vantor},
      {"ours without script rendering", false, false, true, false, false, false, true, 4, RenderingCamera::FirstPerson},
      {"ours made active after the other", false, true, true, true, false, false, true, 1, RenderingCamera::Vantor},
      {"the other made active after ours", false, true, true, true, true, false, true, 1, RenderingCamera::OtherScript},
      {"the other alone, on foot", false, true, false, true, true, false, false, 1, RenderingCamera::OtherScript},
      {"a cutscene over ours", true, true, true, false, false, false, true, 4, RenderingCamera::Cutscene},
      {"a cutscene over the cinematic camera", true, false, false, false, false, true, false, 1, RenderingCamera::Cutscene},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::World world;
    const int32_t car = AddCar(world);
    if (c.inVehicle) sim::EnterVehicle(world, car, -1);
    world.cutscenePlaying = c.cutscene;
    world.scriptCamerasRendering = c.scriptRendering;
    world.camera.created = true;
    world.camera.active = c.oursActive;
    world.camera.activation = c.otherLast ? 1 : 2;
    world.otherCamera.active = c.otherActive;
    world.otherCamera.activation = c.otherLast ? 2 : 1;
    world.cinematicHeld = c.cinematic;
    world.vehicleCameraViewMode = c.viewMode;
    EXPECT_EQ(sim::CameraRendering(world), c.expected);
    EXPECT_EQ(sim::ScriptedCameraShown(world), c.expected == RenderingCamera::Vantor);
  }
}

TEST(GameCameras, VCyclesTheViewInAVehicleOutsideACutsceneOnItsDownEdgeOnly) {
  sim::World world;
  const auto pressV = [&world] {
    sim::SetKeyDown(world, sim::ViewKey, true);
    sim::SetKeyDown(world, sim::ViewKey, false);
  };
  world.vehicleCameraViewMode = 1;
  pressV();
  EXPECT_EQ(world.vehicleCameraViewMode, 1) << "on foot V does not step the vehicle view";
  sim::EnterVehicle(world, AddCar(world), 0);
  const int32_t expected[] = {2, 4, 0, 1, 2};
  for (const int32_t mode : expected) {
    pressV();
    EXPECT_EQ(world.vehicleCameraViewMode, mode) << "a passenger cycles the view too";
  }
  sim::SetKeyDown(world, sim::ViewKey, true);
  sim::SetKeyDown(world, sim::ViewKey, true);
  EXPECT_EQ(world.vehicleCameraViewMode, 4) << "a key held down steps once";
  sim::SetKeyDown(world, sim::ViewKey, false);
  world.vehicleCameraViewMode = 3;
  pressV();
  EXPECT_EQ(world.vehicleCameraViewMode, 0) << "a mode outside the cycle starts it again";
  world.cutscenePlaying = true;
  pressV();
  EXPECT_EQ(world.vehicleCameraViewMode, 0) << "no camera control during a cutscene";
}

TEST(GameCameras, RotationsPastVerticalComeBackAsTheSameAttitudeWithThePitchWithinNinety) {
  struct Case {
    sim::Vec3 stored, reported;
  };
  const Case cases[] = {
      {{30.0f, 5.0f, 40.0f}, {30.0f, 5.0f, 40.0f}},
      {{90.0f, 5.0f, 40.0f}, {90.0f, 5.0f, 40.0f}},
      {{100.0f, 5.0f, 40.0f}, {80.0f, -175.0f, -140.0f}},
      {{-100.0f, -5.0f, -40.0f}, {-80.0f, 175.0f, 140.0f}},
      {{180.0f, 0.0f, 0.0f}, {0.0f, -180.0f, -180.0f}},
      {{270.0f, 2.0f, 10.0f}, {-90.0f, 2.0f, 10.0f}},
      {{360.0f, 2.0f, 10.0f}, {0.0f, 2.0f, 10.0f}},
  };
  for (const Case& c : cases) {
    const sim::Vec3 reported = sim::ReportedRotation(c.stored);
    EXPECT_NEAR(reported.x, c.reported.x, 1e-4f) << c.stored.x;
    EXPECT_NEAR(reported.y, c.reported.y, 1e-4f) << c.stored.x;
    EXPECT_NEAR(reported.z, c.reported.z, 1e-4f) << c.stored.x;
  }
  // Every pitch round a full turn: the report is the same attitude.
  for (float pitch = -360.0f; pitch <= 360.0f; pitch += 7.5f) {
    const sim::Vec3 stored{pitch, 23.0f, -61.0f};
    const sim::Vec3 reported = sim::ReportedRotation(stored);
    EXPECT_LE(std::fabs(reported.x), 90.0f);
    const sim::Rotation a = sim::RotationOf(stored), b = sim::RotationOf(reported);
    for (int row = 0; row < 3; ++row)
      for (int column = 0; column < 3; ++column) EXPECT_NEAR(a.m[row][column], b.m[row][column], 1e-5) << pitch;
  }
}

// Through the plugin, each pass.
using GameCamerasThroughThePlugin = CameraTest;

TEST_F(GameCamerasThroughThePlugin, TheGameplayCameraQuestionFollowsTheCameraThatRenders) {
  const int32_t car = AddCar(world());
  sim::EnterVehicle(world(), car, -1);
  Load();
  const int32_t follow = Frame();
  EXPECT_EQ(IntResult(Calls(follow, "IsGameplayCameraRendering")[0]), 1);
  EXPECT_FALSE(Shown()) << "the follow camera renders: first person waits";
  world().cinematicHeld = true;
  const int32_t cinematic = Frame();
  EXPECT_EQ(IntResult(Calls(cinematic, "IsGameplayCameraRendering")[0]), 0);
  EXPECT_TRUE(Shown()) << "the cinematic camera is not the gameplay camera, and ours is a script camera over it";
  world().cinematicHeld = false;
  for (int i = 0; i < 5; ++i) Frame();
  EXPECT_TRUE(Shown()) << "once ours renders, the gameplay camera stays off";
  // Another script switches script cameras off as its camera ends: in the follow view the
  // gameplay camera renders again and first person lets go.
  world().scriptCamerasRendering = false;
  const int32_t released = Frame();
  EXPECT_EQ(IntResult(Calls(released, "IsGameplayCameraRendering")[0]), 1);
  EXPECT_EQ(Count(released, "SetCameraActive"), 1);
  EXPECT_FALSE(Shown());
}

TEST_F(GameCamerasThroughThePlugin, APressOfVDuringTheHoldOffIsUndoneInItsOwnPass) {
  SeatPlayerInCar(world());
  Load();
  Frame();
  HoldV(true);
  Frame(1000);
  const int32_t exit = Frame();
  ASSERT_EQ(ViewModeCalls(exit), 2);
  HoldV(false);
  Frame(100);
  HoldV(true);  // steps the view from 0 to 1 before the pass; the hold-off sets 0 again
  const int32_t pressed = Frame();
  EXPECT_EQ(ViewModeCalls(pressed), 1);
  EXPECT_EQ(world().vehicleCameraViewMode, 0);
  HoldV(false);
  for (int i = 0; i < 40; ++i) Frame();
  EXPECT_FALSE(Shown()) << "the close follow camera renders: first person stays off";
  for (const int32_t mode : {1, 2, 4}) {
    HoldV(true);
    Frame();
    HoldV(false);
    Frame();
    EXPECT_EQ(world().vehicleCameraViewMode, mode);
  }
  EXPECT_TRUE(Shown()) << "V round to the game's first person brings it back";
}

TEST_F(GameCamerasThroughThePlugin, ACutsceneSpanningTheHoldOffLetsFirstPersonBackOnItsLastEdge) {
  SeatPlayerInCar(world());
  Load();
  Frame();
  HoldV(true);
  Frame(1000);
  world().cutscenePlaying = true;
  const int32_t exit = Frame(399);  // T
  HoldV(false);
  EXPECT_EQ(ViewModeCalls(exit), 2);
  const int32_t lastRefused = Frame(1);  // T + 399
  EXPECT_EQ(ViewModeCalls(lastRefused), 1);
  EXPECT_EQ(Count(lastRefused, "SetCameraActive"), 0);
  const int32_t allowed = Frame();  // T + 400
  EXPECT_EQ(ViewModeCalls(allowed), 0);
  EXPECT_EQ(IntArgument(Calls(allowed, "SetCameraActive")[0], 1), 1);
  EXPECT_EQ(sim::CameraRendering(world()), RenderingCamera::Cutscene);
  world().cutscenePlaying = false;
  Frame();
  EXPECT_TRUE(Shown()) << "after the cutscene the player is in first person, though the view mode is 0";
  EXPECT_EQ(world().vehicleCameraViewMode, 0);
}

// The angle of the rotation between two attitudes, in degrees.
double AngleBetween(const sim::Vec3& a, const sim::Vec3& b) {
  const sim::Rotation ra = sim::RotationOf(a), rb = sim::RotationOf(b);
  double trace = 0.0;
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column) trace += ra.m[row][column] * rb.m[row][column];
  return std::acos(std::clamp((trace - 1.0) / 2.0, -1.0, 1.0)) / sim::DegreesToRadians;
}

struct LoopFigures {
  double worstLag = 0.0;        // camera against vehicle, beyond what easing a plain angle lags
  double worstCameraStep = 0.0;  // between consecutive camera attitudes
  double worstVehicleStep = 0.0;
  double worstAngle = 0.0;      // camera against vehicle
  int32_t framesShown = 0;
};

// Plays a loop and an end-over-end tumble through the plugin. The camera eases each angle by
// 0.12 a pass, so a plain angle moving at a steady rate lags behind it; `worstLag` is how far
// the camera's attitude is off the vehicle's beyond that lag of the pitch alone.
LoopFigures PlayLoop() {
  sim::Scenario scenario;
  std::string error;
  EXPECT_TRUE(sim::ParseScenario(R"(frames = 330
view_mode = 4
events = [
  { at = 1, do = "enter", vehicle = "car", seat = -1 },
  { at = 2, do = "drive", vehicle = "car", speed = 20, turn_rate = 6 },
  { at = 20, do = "drive", vehicle = "car", pitch = 360, until = 200 },
  { at = 60, do = "drive", vehicle = "car", roll = 10, until = 120 },
  { at = 120, do = "drive", vehicle = "car", roll = 0, until = 180 },
  { at = 240, do = "drive", vehicle = "car", pitch = 0, until = 280 },
]
[[vehicle]]
name = "car"
rotation = [0, 0, 30]
)",
                                 "loop.toml", scenario, error))
      << error;
  LoopFigures figures;
  float easedPitch = 0.0f;
  sim::Vec3 lastCamera{}, lastVehicle{};
  bool seen = false;
  auto host = std::make_unique<sim::LinuxHost>();
  sim::PlayScenario(*host, scenario, sim::DefaultPluginPath(), [&](const sim::World& world, int32_t) {
    const sim::Vehicle& car = world.vehicles[0];
    easedPitch += (car.rotation.x - easedPitch) * 0.12f;
    if (!sim::ScriptedCameraShown(world)) return;
    ++figures.framesShown;
    const double pitchLag = std::fabs(car.rotation.x - easedPitch);
    figures.worstLag = std::max(figures.worstLag, AngleBetween(world.camera.rotation, car.rotation) - pitchLag);
    figures.worstAngle = std::max(figures.worstAngle, AngleBetween(world.camera.rotation, car.rotation));
    if (seen) {
      figures.worstCameraStep = std::max(figures.worstCameraStep, AngleBetween(lastCamera, world.camera.rotation));
      figures.worstVehicleStep = std::max(figures.worstVehicleStep, AngleBetween(lastVehicle, car.rotation));
    }
    lastCamera = world.camera.rotation;
    lastVehicle = car.rotation;
    seen = true;
  });
  EXPECT_TRUE(host->hook.world.errors.empty());
  return figures;
}

TEST(GameCamerasLoop, TheViewFollowsTheAttitudeThroughALoopAndATumble) {
  const LoopFigures figures = PlayLoop();
  EXPECT_GT(figures.framesShown, 320);
  // A few degrees for the turn and the roll, which ease alongside the pitch.
  EXPECT_LT(figures.worstLag, 5.0) << "the camera swung away from the vehicle's attitude";
  EXPECT_LT(figures.worstCameraStep, figures.worstVehicleStep + 0.5) << "the camera's attitude jumped";
}

// The built-in drive as a player sees it: first person by V, off after the hold-V exit, and
// back only once V has come round to the game's first person.
TEST(GameCamerasBuiltinDrive, FirstPersonStaysOffAfterTheExitUntilVComesRound) {
  sim::Scenario drive;
  std::string error;
  ASSERT_TRUE(sim::ParseScenario(std::string(sim::BuiltinDriveText()), "drive.toml", drive, error)) << error;
  std::vector<bool> shown;
  std::vector<int32_t> viewModes;
  auto host = std::make_unique<sim::LinuxHost>();
  sim::PlayScenario(*host, drive, sim::DefaultPluginPath(), [&](const sim::World& world, int32_t) {
    shown.push_back(sim::ScriptedCameraShown(world));
    viewModes.push_back(world.vehicleCameraViewMode);
  });
  ASSERT_EQ(shown.size(), static_cast<size_t>(drive.frames));
  const auto firstOn = std::find(shown.begin(), shown.end(), true) - shown.begin();
  ASSERT_LT(firstOn, drive.frames);
  EXPECT_EQ(viewModes[static_cast<size_t>(firstOn)], sim::FirstPersonViewMode) << "on by V";
  EXPECT_NE(viewModes[static_cast<size_t>(firstOn) - 1], sim::FirstPersonViewMode);
  const auto exit = std::find(shown.begin() + firstOn, shown.end(), false) - shown.begin();
  ASSERT_LT(exit, drive.frames);
  EXPECT_EQ(viewModes[static_cast<size_t>(exit)], 0);
  const auto back = std::find(shown.begin() + exit, shown.end(), true) - shown.begin();
  ASSERT_LT(back, drive.frames) << "first person comes back in the drive";
  EXPECT_GT((back - exit) * drive.frameTimeMs, 1000) << "stays off for more than the hold-off";
  for (auto frame = exit; frame < back; ++frame)
    EXPECT_NE(viewModes[static_cast<size_t>(frame)], sim::FirstPersonViewMode) << frame;
  EXPECT_EQ(viewModes[static_cast<size_t>(back)], sim::FirstPersonViewMode) << "back by V";
}

}  // namespace
}  // namespace vantor_test
