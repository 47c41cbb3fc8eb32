// The occupancy query: who sits where, the near-vehicle rule, and where the query stops asking.
#include "camera_fixture.h"

namespace vantor_test {
namespace {

using vantor::SeatInfo;

class SeatQueryTest : public CameraTest {
 protected:
  void SetUp() override {
    CameraTest::SetUp();
    StartDirect();
  }
  // One query in a frame of its own, so its calls can be read back.
  SeatInfo Query(int32_t rememberedVehicle, bool betterHookerView) {
    frame = world().frame;
    const SeatInfo info = vantor::QuerySeatInfo(sim::PlayerHandle, rememberedVehicle, betterHookerView);
    sim::AdvanceWorld(world(), FrameTimeMs);
    return info;
  }
  void ExpectNoVehicle(const SeatInfo& info) {
    EXPECT_FALSE(info.hasVehicle);
    EXPECT_EQ(info.vehicle, 0);
    EXPECT_FALSE(info.gameplayCameraRendering);
    EXPECT_FALSE(info.gameplayCameraNotRendering);
    EXPECT_EQ(info.seat, vantor::NoSeat);
  }
  int32_t frame = 0;
};

TEST_F(SeatQueryTest, FindsTheSeatAskingFromTheDriversSeatUp) {
  const int32_t car = SeatPlayerInCar(world(), 1);
  const SeatInfo info = Query(0, false);
  EXPECT_TRUE(info.hasVehicle);
  EXPECT_EQ(info.vehicle, car);
  EXPECT_EQ(info.seat, 1);
  EXPECT_TRUE(info.gameplayCameraNotRendering);
  EXPECT_FALSE(info.gameplayCameraRendering);
  const std::vector<std::string> expected = {"DoesEntityExist", "IsEntityDead", "IsPedInAnyVehicle",
                                             "GetVehiclePedIsIn", "DoesEntityExist", "IsGameplayCameraRendering",
                                             "GetVehicleMaxPassengers", "GetPedInVehicleSeat", "GetPedInVehicleSeat",
                                             "GetPedInVehicleSeat"};
  EXPECT_EQ(Names(frame), expected);

  sim::EnterVehicle(world(), car, vantor::DriverSeat);
  ShowGameplayCamera(world(), true);
  const SeatInfo driver = Query(0, false);
  EXPECT_EQ(driver.seat, vantor::DriverSeat);
  EXPECT_TRUE(driver.gameplayCameraRendering);
  EXPECT_FALSE(driver.gameplayCameraNotRendering);
  EXPECT_EQ(Count(frame, "GetPedInVehicleSeat"), 1) << "the driver is found with the first question";
}

TEST_F(SeatQueryTest, PassengerCountBoundsTheSearch) {
  const int32_t car = SeatPlayerInCar(world(), 2);
  sim::FindVehicle(world(), car)->maxPassengers = 0;
  EXPECT_EQ(Query(0, false).seat, vantor::NoSeat);
  EXPECT_EQ(Calls(frame, "GetPedInVehicleSeat").size(), 1u);
  EXPECT_EQ(IntArgument(Calls(frame, "GetPedInVehicleSeat")[0], 1), -1);
  sim::FindVehicle(world(), car)->maxPassengers = -1;
  const SeatInfo info = Query(0, false);
  EXPECT_TRUE(info.hasVehicle);
  EXPECT_EQ(info.seat, vantor::NoSeat);
  EXPECT_EQ(Count(frame, "GetPedInVehicleSeat"), 0);
}

TEST_F(SeatQueryTest, MissingOrDeadPlayerStopsAtTheFailingQuestion) {
  SeatPlayerInCar(world());
  world().player.dead = true;
  ExpectNoVehicle(Query(0, true));
  EXPECT_EQ(Names(frame), (std::vector<std::string>{"DoesEntityExist", "IsEntityDead"}));
  world().player.exists = false;
  ExpectNoVehicle(Query(0, true));
  EXPECT_EQ(Names(frame), std::vector<std::string>{"DoesEntityExist"});
}

TEST_F(SeatQueryTest, InAVehicleThatTheGameCannotNameIsNoVehicle) {
  SeatPlayerInCar(world());
  world().beforeAnswer = [](sim::World& w, int index) {
    if (std::string(sim::NativeAt(index).name) == "GetVehiclePedIsIn") w.player.vehicle = 0;
  };
  ExpectNoVehicle(Query(0, true));
  world().beforeAnswer = nullptr;
}

// The near-vehicle rule, with the player standing at an offset from the car's position.
struct NearCase {
  sim::Vec3 offset;
  bool betterHookerView;
  bool remembered;
  bool counts;
};

TEST_F(SeatQueryTest, NearVehicleRuleCountsOnlyTheRememberedCarWithinOnePointFiveMetres) {
  const NearCase cases[] = {
      {{1.0f, 1.0f, 0.0f}, true, true, true},     // squared distance 2.0
      {{1.5f, 0.0f, 0.0f}, true, true, false},    // exactly 2.25 is too far
      {{1.0f, 0.0f, -1.2f}, true, true, false},   // 2.44: the height counts
      {{1.0f, 1.0f, 0.0f}, false, true, false},   // the rule is off
      {{1.0f, 1.0f, 0.0f}, true, false, false},   // nothing remembered
  };
  const sim::Vec3 carAt{10.0f, -4.0f, 2.0f};
  const int32_t car = AddCar(world(), carAt);
  for (const NearCase& c : cases) {
    sim::EnterVehicle(world(), car, vantor::DriverSeat);
    StandAt(world(), {carAt.x + c.offset.x, carAt.y + c.offset.y, carAt.z + c.offset.z});
    const SeatInfo info = Query(c.remembered ? car : 0, c.betterHookerView);
    EXPECT_EQ(info.hasVehicle, c.counts) << c.offset.x << " " << c.offset.y << " " << c.offset.z;
    if (c.counts) {
      EXPECT_EQ(info.vehicle, car);
      EXPECT_EQ(info.seat, vantor::NoSeat);
      EXPECT_NE(info.gameplayCameraRendering, info.gameplayCameraNotRendering);
    }
    if (!c.betterHookerView) {
      EXPECT_EQ(Count(frame, "GetVehiclePedIsIn"), 0);
    }
  }
  // Another car last driven is no match at any distance.
  const int32_t other = AddCar(world(), carAt);
  sim::EnterVehicle(world(), other, vantor::DriverSeat);
  StandAt(world(), carAt);
  ExpectNoVehicle(Query(car, true));
}

}  // namespace
}  // namespace vantor_test
