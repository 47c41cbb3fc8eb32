// The camera rig: activation, release, placement, smoothing, field of view and corner lean.
#include <cmath>
#include <limits>

#include "camera_fixture.h"

namespace vantor_test {
namespace {

using RigTest = CameraTest;

TEST_F(RigTest, ActivatesOnTheFirstQualifyingPassCallForCall) {
  SeatPlayerInCar(world());
  Load();
  RunFrames(1);
  const std::vector<std::string> expected = {
      "PlayerPedId", "DoesEntityExist", "IsEntityDead", "IsPedInAnyVehicle", "GetVehiclePedIsIn", "DoesEntityExist",
      "IsGameplayCameraRendering", "GetVehicleMaxPassengers", "GetPedInVehicleSeat", "GetVehicleClass",
      "GetAsyncKeyState", "GetGameTimer",
      // activation
      "GetEntityRotation", "SetCameraActive", "RenderScriptCameras", "GetGameTimer",
      // active frame
      "GetDisabledControlNormal", "GetDisabledControlNormal", "GetGameTimer", "GetEntityBoneIndexByName",
      "GetWorldPositionOfEntityBone", "GetOffsetFromEntityGivenWorldCoords", "GetOffsetFromEntityInWorldCoords",
      "GetEntityRotation", "SetCameraPosition", "SetCameraRotation", "SetCameraFov", "SetPedResetFlag"};
  EXPECT_EQ(StageNames(0), expected);
  const std::vector<std::string> lines = Lines(0);
  for (const char* line : {"0 SetCameraActive(12289, 1)", "0 RenderScriptCameras(1, 0, 0, 1, 0)",
                           "0 SetPedResetFlag(257, 166, 1)", "0 GetEntityRotation(8193, 2) -> (0f#00000000, "
                           "0f#00000000, 0f#00000000)", "0 GetAsyncKeyState(86) -> 0x0000"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  EXPECT_TRUE(sim::ScriptedCameraShown(world()));
  EXPECT_EQ(world().camera.rotationOrder, 2);
  EXPECT_FLOAT_EQ(world().camera.fov, 80.0f);
  // The default seat bone sits at (-0.45, 0.1, 0.45) in the car: 0.1 forward, 0.7 up.
  EXPECT_NEAR(world().camera.position.x, -0.45f, 1e-6f);
  EXPECT_NEAR(world().camera.position.y, 0.2f, 1e-6f);
  EXPECT_NEAR(world().camera.position.z, 1.15f, 1e-6f);
}

TEST_F(RigTest, ReleasesForAPassengerSeatTheGameplayCameraOrOnFootAndFlagsOnlyActivePasses) {
  const int32_t car = SeatPlayerInCar(world());
  Load();
  // Per frame: seat (or on foot), gameplay camera rendering, whether first person shows.
  struct Step {
    bool inCar;
    int32_t seat;
    bool gameplayRendering;
    bool shown;
  };
  const Step steps[] = {{true, -1, false, true},  {true, -1, false, true}, {true, 0, false, false},
                        {true, 0, false, false},  {true, -1, false, true}, {true, -1, true, false},
                        {false, -1, false, false}, {true, -1, false, true}};
  bool wasShown = false;
  for (const Step& step : steps) {
    if (step.inCar) sim::EnterVehicle(world(), car, step.seat);
    else StandAt(world(), {5.0f, 5.0f, 0.0f});
    ShowGameplayCamera(world(), step.gameplayRendering);
    const int32_t frame = NextFrame();
    RunFrames(1);
    EXPECT_EQ(sim::ScriptedCameraShown(world()), step.shown) << "frame " << frame;
    EXPECT_EQ(Count(frame, "SetPedResetFlag"), step.shown ? 1 : 0) << "frame " << frame;
    EXPECT_EQ(Count(frame, "SetCameraPosition"), step.shown ? 1 : 0) << "frame " << frame;
    // A release is issued once, on the pass that ends first person.
    EXPECT_EQ(Count(frame, "RenderScriptCameras"), wasShown != step.shown ? 1 : 0) << "frame " << frame;
    if (wasShown && !step.shown) {
      const std::vector<std::string> stage = StageNames(frame);
      const std::vector<std::string> tail(stage.end() - 2, stage.end());
      EXPECT_EQ(tail, (std::vector<std::string>{"RenderScriptCameras", "SetCameraActive"}));
      EXPECT_EQ(IntArgument(Calls(frame, "RenderScriptCameras")[0], 0), 0);
      EXPECT_EQ(IntArgument(Calls(frame, "SetCameraActive")[0], 1), 0);
    }
    wasShown = step.shown;
  }
}

TEST_F(RigTest, YawTurnsTheShortWayThroughOneEighty) {
  const int32_t car = SeatPlayerInCar(world());
  sim::FindVehicle(world(), car)->rotation.z = 179.0f;
  Load();
  RunFrames(1);
  EXPECT_FLOAT_EQ(world().camera.rotation.z, 179.0f);
  sim::FindVehicle(world(), car)->rotation.z = -179.0f;
  RunFrames(1);
  EXPECT_FLOAT_EQ(world().camera.rotation.z, 179.24f);
}

TEST_F(RigTest, CameraSitsAboveTheSeatBoneOrTheVehiclesOriginWithoutIt) {
  const int32_t car = SeatPlayerInCar(world());
  sim::Vehicle& vehicle = *sim::FindVehicle(world(), car);
  vehicle.position = {100.0f, -50.0f, 12.0f};
  vehicle.rotation = {5.0f, -3.0f, 120.0f};
  Load();
  RunFrames(1);
  const sim::Vec3 seat = vehicle.seatBoneOffset;
  const sim::Vec3 expected = sim::LocalToWorld(vehicle, {seat.x, seat.y + 0.1f, seat.z + 0.7f});
  EXPECT_NEAR(world().camera.position.x, expected.x, 1e-4f);
  EXPECT_NEAR(world().camera.position.y, expected.y, 1e-4f);
  EXPECT_NEAR(world().camera.position.z, expected.z, 1e-4f);

  vehicle.hasSeatBone = false;
  const int32_t frame = NextFrame();
  RunFrames(1);
  EXPECT_EQ(Count(frame, "GetWorldPositionOfEntityBone"), 0);
  EXPECT_EQ(Count(frame, "GetEntityCoords"), 1);
  const sim::Vec3 fromOrigin = sim::LocalToWorld(vehicle, {0.0f, 0.1f, 0.7f});
  EXPECT_NEAR(world().camera.position.x, fromOrigin.x, 1e-4f);
  EXPECT_NEAR(world().camera.position.y, fromOrigin.y, 1e-4f);
  EXPECT_NEAR(world().camera.position.z, fromOrigin.z, 1e-4f);
}

// Suites below call the rig directly with their own settings.

TEST_F(RigTest, DynamicFovWidensWithSpeedWithinBounds) {
  StartDirect();
  const int32_t car = SeatPlayerInCar(world());
  settings.DynamicFOV = true;
  struct Case {
    float fov, speed, target;
  };
  for (const Case c : {Case{80, 0, 80}, Case{80, 22.5f, 84}, Case{80, 45, 88}, Case{80, 90, 88},
                       Case{80, -22.5f, 84}, Case{105, 45, 110}}) {
    settings.FOV = c.fov;
    ResetRig();
    sim::FindVehicle(world(), car)->speed = c.speed;
    for (int i = 0; i < 150; ++i) Pass();
    EXPECT_NEAR(world().camera.fov, c.target, 1e-3f) << c.fov << " at " << c.speed;
  }
  settings.FOV = 80.0f;
  ResetRig();
  sim::FindVehicle(world(), car)->speed = 45.0f;
  Pass();
  EXPECT_FLOAT_EQ(world().camera.fov, 81.2f);
  // A speed the game cannot give still leaves a usable field of view.
  sim::FindVehicle(world(), car)->speed = std::numeric_limits<float>::quiet_NaN();
  Pass();
  EXPECT_FALSE(std::isnan(rig.smoothedFov));
}

TEST_F(RigTest, FieldOfViewAndHeightEaseEveryPassEvenWithoutAVehicle) {
  StartDirect();
  settings.FOV = 100.0f;
  const int32_t frame = Pass();
  EXPECT_FLOAT_EQ(rig.smoothedFov, 83.0f);
  EXPECT_EQ(Count(frame, "GetVehicleClass"), 0);
  EXPECT_EQ(Count(frame, "GetEntitySpeed"), 0);
}

TEST_F(RigTest, ClassOutsideTheTableKeepsThePreviousOne) {
  StartDirect();
  const int32_t car = SeatPlayerInCar(world());
  settings.Height[5] = 1.0f;
  sim::FindVehicle(world(), car)->vehicleClass = 5;
  Pass();
  EXPECT_EQ(rig.classIndex, 5);
  EXPECT_FLOAT_EQ(rig.smoothedHeight, 0.7f + (1.0f - 0.7f) * 0.15f);
  for (const int32_t outside : {22, -1, std::numeric_limits<int32_t>::min()}) {
    sim::FindVehicle(world(), car)->vehicleClass = outside;
    Pass();
    EXPECT_EQ(rig.classIndex, 5) << outside;
  }
}

TEST_F(RigTest, CornerLeanFollowsTheYawRateClampedToFourDegrees) {
  StartDirect();
  const int32_t car = SeatPlayerInCar(world());
  sim::Vehicle& vehicle = *sim::FindVehicle(world(), car);
  settings.CornerLean = true;
  vehicle.speed = 20.0f;
  Pass();
  vehicle.rotation.z = 2.0f;  // 2 degrees in one pass at 20 m/s: -6, clamped to -4
  Pass();
  EXPECT_FLOAT_EQ(rig.lean, -0.4f);
  EXPECT_FLOAT_EQ(world().camera.rotation.y, rig.smoothedRoll + rig.lean);
  vehicle.rotation.z = -2.0f;  // the other way round: +6, clamped to +4
  Pass();
  EXPECT_FLOAT_EQ(rig.lean, -0.4f + (4.0f + 0.4f) * 0.1f);
  // Switched off, the lean decays by the same rule and no speed is asked.
  settings.CornerLean = false;
  const float before = rig.lean;
  const int32_t frame = Pass();
  EXPECT_FLOAT_EQ(rig.lean, before - before * 0.1f);
  EXPECT_EQ(Count(frame, "GetEntitySpeed"), 0);
}

TEST_F(RigTest, NearVehicleRuleKeepsTheDriversSeatOnlyWhenOn) {
  StartDirect();
  const int32_t car = SeatPlayerInCar(world());
  for (const bool betterHookerView : {true, false}) {
    settings.BetterHookerView = betterHookerView;
    sim::EnterVehicle(world(), car, vantor::DriverSeat);
    Pass();
    ASSERT_TRUE(rig.active);
    StandAt(world(), {1.0f, 1.0f, 0.0f});  // squared distance 2.0
    Pass();
    EXPECT_EQ(rig.active, betterHookerView);
    EXPECT_EQ(rig.rememberedSeat, betterHookerView ? vantor::DriverSeat : vantor::NoSeat);
    EXPECT_EQ(rig.rememberedVehicle, betterHookerView ? car : 0);
  }
  // One pass too far away forgets the car; coming back near it does not bring first person back.
  settings.BetterHookerView = true;
  sim::EnterVehicle(world(), car, vantor::DriverSeat);
  Pass();
  StandAt(world(), {1.5f, 0.0f, 0.0f});
  Pass();
  EXPECT_FALSE(rig.active);
  EXPECT_EQ(rig.rememberedVehicle, 0);
  StandAt(world(), {0.5f, 0.0f, 0.0f});
  Pass();
  EXPECT_FALSE(rig.active);
}

TEST_F(RigTest, SwitchingTheModOffReleasesOnThatPass) {
  StartDirect();
  SeatPlayerInCar(world());
  Pass();
  ASSERT_TRUE(sim::ScriptedCameraShown(world()));
  settings.ModEnabled = false;
  const int32_t frame = Pass();
  EXPECT_FALSE(sim::ScriptedCameraShown(world()));
  EXPECT_EQ(Count(frame, "SetPedResetFlag"), 0);
}

TEST(WrapAngle, ReducesEveryDifferenceIntoMinusOneEightyToOneEighty) {
  using vantor::WrapAngle;
  EXPECT_EQ(WrapAngle(-541.0f), 179.0f);
  EXPECT_EQ(WrapAngle(-900.0f), -180.0f);
  EXPECT_EQ(WrapAngle(180.0f), -180.0f);
  EXPECT_EQ(WrapAngle(-180.0f), -180.0f);
  EXPECT_EQ(WrapAngle(-358.0f), 2.0f);
  EXPECT_EQ(WrapAngle(0.0f), 0.0f);
  for (int step = -200000; step <= 200000; ++step) {
    const float d = static_cast<float>(step) * 0.0137f;
    const float wrapped = WrapAngle(d);
    ASSERT_TRUE(wrapped >= -180.0f && wrapped < 180.0f) << d;
  }
  for (const float d : {-540.00006f, -179.99998f, 179.99998f, -1.0e-30f, 3.0e38f, -3.0e38f}) {
    const float wrapped = WrapAngle(d);
    EXPECT_TRUE(wrapped >= -180.0f && wrapped < 180.0f) << d;
  }
  for (const float d : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                        -std::numeric_limits<float>::infinity()})
    EXPECT_EQ(WrapAngle(d), 0.0f);
}

}  // namespace
}  // namespace vantor_test
