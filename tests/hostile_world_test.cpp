// Game values no sane game gives: non-finite rotations, positions, speeds and look controls,
// a vehicle that vanishes between two calls of one pass, class numbers and passenger counts far
// out of range. Each must pass without a fault, and the camera must work again once the values
// are sane.
#include <cmath>
#include <limits>

#include "camera_fixture.h"
#include "menu_fixture.h"

namespace vantor_test {
namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr int32_t Int32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t Int32Max = std::numeric_limits<int32_t>::max();

bool Finite(sim::Vec3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

class HostileWorldTest : public CameraTest {
 protected:
  // The gameplay camera takes over for one pass, so the next qualifying pass activates afresh.
  void Reactivate() {
    ShowGameplayCamera(world(), true);
    Frame();
    ShowGameplayCamera(world(), false);
  }
  void Tap(int32_t key) {
    sim::SetKeyDown(world(), key, true);
    Frame();
    sim::SetKeyDown(world(), key, false);
    Frame();
  }
  sim::Vehicle& Car(int32_t handle) { return *sim::FindVehicle(world(), handle); }
};

TEST_F(HostileWorldTest, NonFiniteRotationNeverSticksInTheCamerasOrientation) {
  WriteSettingsFile("CornerLean=1\r\n");
  const int32_t car = SeatPlayerInCar(world());
  Load();
  const sim::Vec3 sane{-4.0f, 3.0f, -120.0f};
  for (const float bad : {NaN, Inf, -Inf}) {
    for (const bool atActivation : {true, false}) {
      SCOPED_TRACE(testing::Message() << bad << (atActivation ? " at activation" : " while active"));
      Car(car).rotation = {1.0f, 2.0f, 30.0f};
      Car(car).speed = 10.0f;
      Frame();
      if (atActivation) Reactivate();
      Car(car).rotation = {bad, bad, bad};
      for (int i = 0; i < 3; ++i) {
        Frame();
        ASSERT_TRUE(Shown());
        // While active, a rotation without a direction leaves the smoothed one where it was.
        if (!atActivation) {
          EXPECT_TRUE(Finite(world().camera.rotation));
        }
      }
      Car(car).rotation = sane;
      Frame();
      ASSERT_TRUE(Finite(world().camera.rotation));
      if (atActivation) {
        // Seeded from the bad rotation, the smoothing starts again from the first sane one.
        EXPECT_FLOAT_EQ(world().camera.rotation.x, sane.x);
        EXPECT_FLOAT_EQ(world().camera.rotation.z, sane.z);
      }
      for (int i = 0; i < 200; ++i) Frame();
      EXPECT_NEAR(world().camera.rotation.x, sane.x, 1e-3f);
      EXPECT_NEAR(world().camera.rotation.y, sane.y, 1e-3f);
      EXPECT_NEAR(std::remainder(world().camera.rotation.z - sane.z, 360.0f), 0.0f, 1e-3f);
      EXPECT_TRUE(Finite(world().camera.position));
    }
  }
}

TEST_F(HostileWorldTest, HugeFiniteYawAtActivationStaysInTheSmoothedYawUntilTheNextActivation) {
  // Pinned: 3e38 degrees is finite, so it seeds the smoothed yaw, and no step of at most 180
  // degrees moves a float that large. The camera's yaw stays there while first person lasts.
  const int32_t car = SeatPlayerInCar(world());
  Car(car).rotation.z = 3.0e38f;
  Load();
  Frame();
  Car(car).rotation.z = 10.0f;
  for (int i = 0; i < 50; ++i) Frame();
  EXPECT_EQ(world().camera.rotation.z, 3.0e38f);
  Reactivate();
  Frame();
  EXPECT_FLOAT_EQ(world().camera.rotation.z, 10.0f);
}

TEST_F(HostileWorldTest, NonFinitePositionsPassOnlyThroughTheirOwnPass) {
  WriteSettingsFile("BetterHookerView=1\r\n");
  const int32_t car = SeatPlayerInCar(world());
  Load();
  const sim::Vec3 at{10.0f, 20.0f, 3.0f};
  for (const float bad : {NaN, Inf, -Inf}) {
    SCOPED_TRACE(bad);
    Car(car).position = {bad, 0.0f, bad};
    Frame();
    EXPECT_TRUE(Shown());
    Car(car).position = at;
    Frame();
    // The default seat bone at (-0.45, 0.1, 0.45), 0.1 forward and 0.7 up.
    EXPECT_NEAR(world().camera.position.x, at.x - 0.45f, 1e-5f);
    EXPECT_NEAR(world().camera.position.y, at.y + 0.2f, 1e-5f);
    EXPECT_NEAR(world().camera.position.z, at.z + 1.15f, 1e-5f);
  }
  // Standing beside the car at a position the game cannot give is not near it.
  for (const float bad : {NaN, Inf}) {
    sim::EnterVehicle(world(), car, vantor::DriverSeat);
    Frame();
    StandAt(world(), {at.x + 1.0f, at.y, at.z});
    Frame();
    ASSERT_TRUE(Shown());
    StandAt(world(), {bad, at.y, at.z});
    Frame();
    EXPECT_FALSE(Shown()) << bad;
  }
}

TEST_F(HostileWorldTest, NonFiniteSpeedKeepsTheFieldOfViewInBoundsAndTheLeanAtItsLowerBound) {
  WriteSettingsFile("DynamicFOV=1\r\nCornerLean=1\r\n");
  const int32_t car = SeatPlayerInCar(world());
  Load();
  struct Case {
    float speed;
    float fov;  // the speed effect is 0 for NaN, 1 for infinity
  };
  for (const Case c : {Case{NaN, 80.0f}, Case{Inf, 88.0f}, Case{-Inf, 88.0f}}) {
    SCOPED_TRACE(c.speed);
    Car(car).speed = c.speed;  // the world does not move a car at such a speed
    for (int i = 0; i < 150; ++i) Frame();
    EXPECT_NEAR(world().camera.fov, c.fov, 1e-3f);
    // Pinned: going straight, the yaw change 0 times the speed is NaN for both, and the lean's
    // clamp puts NaN on its lower bound: the view leans the full 4 degrees. It comes back once
    // the speed is sane.
    EXPECT_NEAR(world().camera.rotation.y, -4.0f, 1e-3f);
    Car(car).speed = 0.0f;
    for (int i = 0; i < 150; ++i) Frame();
    EXPECT_NEAR(world().camera.fov, 80.0f, 1e-3f);
    EXPECT_NEAR(world().camera.rotation.y, 0.0f, 1e-5f);
  }
}

TEST_F(HostileWorldTest, NonFiniteLookControlsMoveTheViewWithinItsLimitsOnly) {
  SeatPlayerInCar(world());
  Load();
  Frame();
  struct Case {
    float horizontal, vertical;
    float yaw, pitch;  // the look offsets after one pass from straight ahead
  };
  const Case cases[] = {
      {NaN, 0.0f, 0.0f, 0.0f},     // no input
      {NaN, NaN, 0.0f, 0.0f},      // no input
      {Inf, 0.0f, -100.0f, 0.0f},  // full turn, clamped
      {-Inf, 0.0f, 100.0f, 0.0f},
      {0.0f, -Inf, 0.0f, 45.0f},
      // Pinned: the other axis counts as input, and its NaN lands on the lower limit.
      {1.0f, NaN, -35.0f, -45.0f},
      {NaN, 1.0f, -100.0f, -35.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.horizontal << ", " << c.vertical);
    Reactivate();
    world().lookControls[1] = c.horizontal;
    world().lookControls[2] = c.vertical;
    Frame();
    EXPECT_EQ(world().camera.rotation.z, c.yaw);
    EXPECT_EQ(world().camera.rotation.x, c.pitch);
    world().lookControls = {};
    for (int i = 0; i < 200; ++i) Frame();  // 800 ms idle, then recentering
    EXPECT_TRUE(Finite(world().camera.rotation));
    EXPECT_LT(std::fabs(world().camera.rotation.z), 0.1f);
    EXPECT_LT(std::fabs(world().camera.rotation.x), 0.1f);
  }
}

TEST_F(HostileWorldTest, VehicleVanishingBeforeAnyCallOfThePassIsReleasedOnTheNext) {
  Load();
  const char* const calls[] = {"IsGameplayCameraRendering",
                               "GetVehicleMaxPassengers",
                               "GetPedInVehicleSeat",
                               "GetVehicleClass",
                               "GetGameTimer",
                               "GetEntityRotation",
                               "GetDisabledControlNormal",
                               "GetEntityBoneIndexByName",
                               "GetWorldPositionOfEntityBone",
                               "GetOffsetFromEntityGivenWorldCoords",
                               "GetOffsetFromEntityInWorldCoords",
                               "SetCameraPosition",
                               "SetPedResetFlag"};
  for (const char* call : calls) {
    for (const bool onActivation : {true, false}) {
      SCOPED_TRACE(testing::Message() << call << (onActivation ? " on the activating pass" : " on an active pass"));
      const int32_t car = SeatPlayerInCar(world());
      Car(car).rotation = {5.0f, -5.0f, 90.0f};
      if (!onActivation) {
        Frame();
        ASSERT_TRUE(Shown());
      }
      BeforeFirstAnswer(world(), call, [car](sim::World& w) { RemoveVehicle(w, car); });
      Frame();
      world().beforeAnswer = nullptr;
      ASSERT_EQ(sim::FindVehicle(world(), car), nullptr) << "the pass never asked";
      ASSERT_TRUE(world().errors.empty()) << world().errors.front();
      const int32_t after = Frame();
      EXPECT_FALSE(Shown());
      EXPECT_EQ(Count(after, "SetCameraPosition"), 0);
      EXPECT_EQ(Count(after, "GetVehicleClass"), 0);
      // A car of the game's again: first person returns, with nothing left over from the lost one.
      const int32_t next = SeatPlayerInCar(world());
      Car(next).rotation = {1.0f, 2.0f, 3.0f};
      Frame();
      ASSERT_TRUE(Shown());
      EXPECT_FLOAT_EQ(world().camera.rotation.x, 1.0f);
      EXPECT_FLOAT_EQ(world().camera.rotation.z, 3.0f);
      RemoveVehicle(world(), next);
      Frame();
    }
  }
}

TEST_F(HostileWorldTest, VehicleVanishingWhileTheNearRuleMeasuresIsCaughtByTheSecondExistenceCheck) {
  WriteSettingsFile("BetterHookerView=1\r\n");
  const int32_t car = SeatPlayerInCar(world());
  Load();
  Frame();
  StandAt(world(), {1.0f, 1.0f, 0.0f});  // squared distance 2.0 from the car, and from the origin
  Frame();
  ASSERT_TRUE(Shown());
  // Gone after the first existence check: its position reads as the origin, close enough.
  BeforeFirstAnswer(world(), "GetEntityCoords", [car](sim::World& w) { RemoveVehicle(w, car); });
  const int32_t frame = Frame();
  world().beforeAnswer = nullptr;
  ASSERT_EQ(sim::FindVehicle(world(), car), nullptr);
  EXPECT_FALSE(Shown());
  const std::vector<std::string> stage = StageNames(frame);
  const std::vector<std::string> query(stage.begin() + 1, stage.begin() + 9);
  EXPECT_EQ(query, (std::vector<std::string>{"DoesEntityExist", "IsEntityDead", "IsPedInAnyVehicle",
                                             "GetVehiclePedIsIn", "DoesEntityExist", "GetEntityCoords",
                                             "GetEntityCoords", "DoesEntityExist"}));
  EXPECT_EQ(Count(frame, "IsGameplayCameraRendering"), 0);
}

TEST_F(HostileWorldTest, ClassNumbersOutsideTheTableKeepTheLastHeightForTheCameraAndTheMenu) {
  WriteSettingsFile("Height_1=0.3\r\nHeight_5=1.0\r\n");
  const int32_t car = SeatPlayerInCar(world());
  Car(car).vehicleClass = 5;
  Load();
  for (int i = 0; i < 150; ++i) Frame();
  const float seatZ = 0.45f;
  ASSERT_NEAR(world().camera.position.z, seatZ + 1.0f, 1e-3f);
  for (const int32_t outside : {Int32Min, -1, 22, Int32Max}) {
    Car(car).vehicleClass = outside;
    for (int i = 0; i < 30; ++i) Frame();
    EXPECT_NEAR(world().camera.position.z, seatZ + 1.0f, 1e-3f) << outside;
  }
  // The menu's height row adjusts the entry of the class kept, 5, not of the start class 1.
  Tap(KeyF6);
  Tap(KeyDown);
  Tap(KeyDown);
  Tap(KeyLeft);
  for (int i = 0; i < 150; ++i) Frame();
  EXPECT_NEAR(world().camera.position.z, seatZ + 0.98f, 1e-3f);
}

class PassengerCountTest : public HostileWorldTest {
 protected:
  void SetUp() override {
    HostileWorldTest::SetUp();
    StartDirect();
  }
};

TEST_F(PassengerCountTest, SeatSearchEndsForEveryCountAndAsksAtMostSixtyFiveSeats) {
  constexpr int32_t Standing = 1000;  // beside the car, in no seat
  struct Case {
    int32_t passengers;
    int32_t playerSeat;
    int32_t seat;  // found
    int asked;
  };
  const Case cases[] = {
      {Int32Min, vantor::DriverSeat, vantor::NoSeat, 0},
      {-1, vantor::DriverSeat, vantor::NoSeat, 0},
      {0, vantor::DriverSeat, vantor::DriverSeat, 1},
      {0, 0, vantor::NoSeat, 1},
      {3, 2, 2, 4},
      {3, Standing, vantor::NoSeat, 4},
      {Int32Max, vantor::DriverSeat, vantor::DriverSeat, 1},
      {Int32Max, 2, 2, 4},
      // A count no vehicle has is searched up to seat 63 only.
      {Int32Max, 63, 63, 65},
      {Int32Max, 64, vantor::NoSeat, 65},
      {Int32Max, Standing, vantor::NoSeat, 65},
  };
  const int32_t car = AddCar(world());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.passengers << " passengers, player in seat " << c.playerSeat);
    Car(car).maxPassengers = c.passengers;
    sim::EnterVehicle(world(), car, c.playerSeat);
    if (c.playerSeat == Standing) StandAt(world(), {1.0f, 0.0f, 0.0f});
    const int32_t frame = NextFrame();
    const vantor::SeatInfo info = vantor::QuerySeatInfo(sim::PlayerHandle, car, true);
    sim::AdvanceWorld(world(), FrameTimeMs);
    EXPECT_TRUE(info.hasVehicle);
    EXPECT_EQ(info.seat, c.seat);
    EXPECT_EQ(Count(frame, "GetPedInVehicleSeat"), c.asked);
  }
}

TEST_F(HostileWorldTest, HugePassengerCountBesideTheCarStillEndsThePassInFirstPerson) {
  WriteSettingsFile("BetterHookerView=1\r\n");
  const int32_t car = SeatPlayerInCar(world());
  Load();
  Frame();
  Car(car).maxPassengers = Int32Max;
  StandAt(world(), {1.0f, 1.0f, 0.0f});
  const int32_t frame = Frame();
  EXPECT_TRUE(Shown());
  EXPECT_EQ(Count(frame, "GetPedInVehicleSeat"), 65);
}

}  // namespace
}  // namespace vantor_test
