// Scenario files reach the world as written: every kind of event and vehicle, ramps, and the
// files the reader refuses. The events are applied to a bare sim::World; no plugin is loaded.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "sim/scenario/scenario_file.h"
#include "support.h"

namespace {

// Plays a scenario's timeline onto a world, frame by frame, as a host does.
struct Timeline {
  sim::Scenario scenario;
  sim::World world;
  size_t cursor = 0;
  int32_t nextFrame = 0;
  std::vector<int32_t> pictures;

  explicit Timeline(const std::string& text) {
    std::string error;
    EXPECT_TRUE(sim::ParseScenario(text, "test.toml", scenario, error)) << error;
    sim::SetUpWorld(world, scenario);
  }
  // Applies the events of every frame up to `frame`; the world stands as the pass of `frame` sees it.
  void PlayThrough(int32_t frame) {
    for (; nextFrame <= frame; ++nextFrame) {
      if (nextFrame > 0) sim::AdvanceWorld(world, scenario.frameTimeMs);
      sim::ApplyEvents(world, scenario, nextFrame, cursor, &pictures);
    }
  }
  sim::Vehicle& Vehicle(int index) { return *sim::FindVehicle(world, sim::VehicleHandle(index)); }
  bool Down(int32_t key) const { return world.keyDown[static_cast<size_t>(key)]; }
};

constexpr int32_t KeyV = 0x56, KeyF6 = 0x75, KeyEnter = 0x0D, KeyUp = 0x26;

float Distance(sim::Vec3 a, sim::Vec3 b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

TEST(ScenarioEvents, VehiclesStartAsWritten) {
  Timeline timeline(R"(frames = 2
[[vehicle]]
name = "car"
class = 7
position = [10, 20, 1]
rotation = [2, -3, 90]
speed = 5
turn_rate = -12
max_passengers = 1
seat_bone = [-0.5, 0.2, 0.4]

[[vehicle]]
name = "bike"
seat_bone = false
)");
  timeline.PlayThrough(0);
  ASSERT_EQ(timeline.world.vehicles.size(), 2u);
  const sim::Vehicle& car = timeline.Vehicle(0);
  EXPECT_EQ(car.vehicleClass, 7);
  EXPECT_EQ(car.position.x, 10.0f);
  EXPECT_EQ(car.position.y, 20.0f);
  EXPECT_EQ(car.rotation.x, 2.0f);
  EXPECT_EQ(car.rotation.y, -3.0f);
  EXPECT_EQ(car.rotation.z, 90.0f);
  EXPECT_EQ(car.speed, 5.0f);
  EXPECT_EQ(car.turnRate, -12.0f);
  EXPECT_EQ(car.maxPassengers, 1);
  EXPECT_TRUE(car.hasSeatBone);
  EXPECT_EQ(car.seatBoneOffset.y, 0.2f);
  EXPECT_FALSE(timeline.Vehicle(1).hasSeatBone);
  EXPECT_EQ(timeline.world.vehicleCameraViewMode, 1) << "the game's middle follow camera unless the file says so";
}

TEST(ScenarioEvents, EveryActionReachesTheWorld) {
  Timeline timeline(R"(frames = 40
frame_time_ms = 0
start_timer = 5000
events = [
  { at = 1, do = "enter", vehicle = "car", seat = 0 },
  { at = 2, do = "cutscene", until = 3 },
  { at = 3, do = "drive", vehicle = "car", speed = 12.5, turn_rate = 30, pitch = 4, roll = -2, yaw = 45 },
  { at = 4, do = "look", x = -0.5, y = 0.25, until = 6 },
  { at = 7, do = "press", key = "F6" },
  { at = 9, do = "hold", key = "v", until = 12 },
  { at = 13, do = "key_down", key = "ENTER" },
  { at = 14, do = "key_up", key = "ENTER" },
  { at = 15, do = "vehicle_class", vehicle = "car", class = 14 },
  { at = 16, do = "set_timer", time = -100 },
  { at = 17, do = "leave", stand = [-2, 0, 0] },
  { at = 18, do = "stand_near", vehicle = "car", offset = [0, 5, 0] },
  { at = 19, do = "stand_near", vehicle = "car", distance = 1.25 },
  { at = 20, do = "die" },
  { at = 21, do = "revive" },
  { at = 22, do = "remove_vehicle", vehicle = "car" },
  { at = 23, do = "picture" },
  { at = 30, do = "picture" },
]
[[vehicle]]
name = "car"
position = [100, 0, 0]
)");
  sim::World& world = timeline.world;
  timeline.PlayThrough(0);
  EXPECT_EQ(world.gameTimer, 5000);
  EXPECT_EQ(world.player.vehicle, 0);

  timeline.PlayThrough(1);
  EXPECT_EQ(world.player.vehicle, sim::VehicleHandle(0));
  EXPECT_EQ(world.player.seat, 0);
  timeline.PlayThrough(2);
  EXPECT_TRUE(world.cutscenePlaying);

  timeline.PlayThrough(3);
  EXPECT_FALSE(world.cutscenePlaying);
  const sim::Vehicle& car = timeline.Vehicle(0);
  EXPECT_EQ(car.speed, 12.5f);
  EXPECT_EQ(car.turnRate, 30.0f);
  EXPECT_EQ(car.rotation.x, 4.0f);
  EXPECT_EQ(car.rotation.y, -2.0f);
  EXPECT_EQ(car.rotation.z, 45.0f);

  timeline.PlayThrough(4);
  EXPECT_EQ(world.lookControls[1], -0.5f);
  EXPECT_EQ(world.lookControls[2], 0.25f);
  timeline.PlayThrough(5);
  EXPECT_EQ(world.lookControls[1], -0.5f) << "the look holds through its span";
  timeline.PlayThrough(6);
  EXPECT_EQ(world.lookControls[1], 0.0f) << "and ends centred at 'until'";
  EXPECT_EQ(world.lookControls[2], 0.0f);

  timeline.PlayThrough(7);
  EXPECT_TRUE(timeline.Down(KeyF6)) << "a press is down for one frame";
  timeline.PlayThrough(8);
  EXPECT_FALSE(timeline.Down(KeyF6)) << "and up on the next";

  timeline.PlayThrough(9);
  EXPECT_TRUE(timeline.Down(KeyV)) << "key names are read in any case";
  timeline.PlayThrough(11);
  EXPECT_TRUE(timeline.Down(KeyV));
  timeline.PlayThrough(12);
  EXPECT_FALSE(timeline.Down(KeyV));

  timeline.PlayThrough(13);
  EXPECT_TRUE(timeline.Down(KeyEnter));
  timeline.PlayThrough(14);
  EXPECT_FALSE(timeline.Down(KeyEnter));
  EXPECT_FALSE(timeline.Down(KeyUp));

  timeline.PlayThrough(15);
  EXPECT_EQ(timeline.Vehicle(0).vehicleClass, 14);
  timeline.PlayThrough(16);
  EXPECT_EQ(world.gameTimer, -100);

  // The stand offsets are in the vehicle's frame: level, turned to yaw 45, standing still.
  timeline.Vehicle(0).turnRate = 0.0f;
  timeline.Vehicle(0).rotation = {0.0f, 0.0f, 45.0f};
  timeline.PlayThrough(17);
  EXPECT_EQ(world.player.vehicle, 0);
  EXPECT_EQ(world.player.lastVehicle, sim::VehicleHandle(0));
  EXPECT_NEAR(Distance(world.player.position, timeline.Vehicle(0).position), 2.0f, 1e-4f);
  EXPECT_NEAR(world.player.position.x, 100.0f - 2.0f * std::cos(45.0f * 3.14159265f / 180.0f), 1e-3f);

  timeline.PlayThrough(18);
  EXPECT_NEAR(Distance(world.player.position, timeline.Vehicle(0).position), 5.0f, 1e-4f);
  timeline.PlayThrough(19);
  EXPECT_NEAR(Distance(world.player.position, timeline.Vehicle(0).position), 1.25f, 1e-4f);
  EXPECT_NEAR(world.player.position.z, timeline.Vehicle(0).position.z, 1e-4f);

  timeline.PlayThrough(20);
  EXPECT_TRUE(world.player.dead);
  timeline.PlayThrough(21);
  EXPECT_FALSE(world.player.dead);
  timeline.PlayThrough(22);
  EXPECT_FALSE(timeline.Vehicle(0).exists);

  timeline.PlayThrough(39);
  EXPECT_EQ(timeline.pictures, (std::vector<int32_t>{23, 30}));
}

TEST(ScenarioEvents, DriveRampsMoveLinearlyFromTheValueInForce) {
  Timeline timeline(R"(frames = 60
frame_time_ms = 0
events = [
  { at = 0, do = "drive", vehicle = "car", speed = 10 },
  { at = 10, do = "drive", vehicle = "car", speed = 30, pitch = 8, until = 20 },
  { at = 30, do = "drive", vehicle = "car", turn_rate = 40, until = 40 },
  { at = 35, do = "drive", vehicle = "car", turn_rate = -5 },
  { at = 45, do = "drive", vehicle = "car", roll = 4, until = 55 },
  { at = 50, do = "drive", vehicle = "car", roll = -4, until = 52 },
]
[[vehicle]]
name = "car"
rotation = [2, 0, 0]
)");
  sim::Vehicle& car = timeline.Vehicle(0);
  timeline.PlayThrough(10);
  EXPECT_EQ(car.speed, 10.0f) << "on its first frame a ramp stands at its start";
  EXPECT_EQ(car.rotation.x, 2.0f);
  timeline.PlayThrough(15);
  EXPECT_FLOAT_EQ(car.speed, 20.0f);
  EXPECT_FLOAT_EQ(car.rotation.x, 5.0f);
  timeline.PlayThrough(20);
  EXPECT_EQ(car.speed, 30.0f);
  EXPECT_EQ(car.rotation.x, 8.0f);
  timeline.PlayThrough(29);
  EXPECT_EQ(car.speed, 30.0f) << "and holds its target afterwards";

  timeline.PlayThrough(34);
  EXPECT_FLOAT_EQ(car.turnRate, 16.0f);
  timeline.PlayThrough(35);
  EXPECT_EQ(car.turnRate, -5.0f) << "a drive that sets the quantity ends its ramp";
  timeline.PlayThrough(44);
  EXPECT_EQ(car.turnRate, -5.0f);

  timeline.PlayThrough(49);
  EXPECT_FLOAT_EQ(car.rotation.y, 1.6f);
  timeline.PlayThrough(50);
  EXPECT_FLOAT_EQ(car.rotation.y, 1.6f) << "a new ramp replaces the old, starting where it stood";
  timeline.PlayThrough(51);
  EXPECT_FLOAT_EQ(car.rotation.y, -1.2f);
  timeline.PlayThrough(59);
  EXPECT_EQ(car.rotation.y, -4.0f);
}

TEST(ScenarioEvents, RefusesWhatCannotBePlayed) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"frames = 10\nevents = [\n { at = 1, do = \"drive\", vehicle = \"car\", yaw = 5, until = 4 },\n]\n"
       "[[vehicle]]\nname = \"car\"\n",
       "bad.toml:3: a drive with 'until' cannot ramp 'yaw'"},
      {"frames = 10\nevents = [\n { at = 1, do = \"die\", until = 4 },\n]\n", "bad.toml:3: only look, hold, drive"},
      {"frames = 10\nevents = [\n { at = 1, do = \"cutscene\" },\n]\n", "bad.toml:3: 'cutscene' needs 'until'"},
      {"frames = 3\nview_mode = 5\n", "bad.toml:2: expected a view mode from 0 to 4"},
      {"events = [\n\n { at = 10, do = \"die\" },\n]\nframes = 10\n", "bad.toml:3: expected 'at' below 10"},
      {"[[vehicle]]\nname = \"car\"\nevents = [ { at = 1, do = \"die\" } ]\n",
       "bad.toml:3: 'events' inside a [[vehicle]] table"},
      {"frames = 10\nevents = [\n { at = 1, do = \"stand_near\", vehicle = \"car\", distance = -1 },\n]\n"
       "[[vehicle]]\nname = \"car\"\n",
       "bad.toml:3: expected a distance of 0 or more"},
      {"frames = 10\nevents = [\n { at = 1, do = \"stand_near\", vehicle = \"car\", distance = 1, offset = [1, 0, 0] },\n]\n"
       "[[vehicle]]\nname = \"car\"\n",
       "bad.toml:3: 'stand_near' takes 'offset' or 'distance'"},
  };
  for (const auto& c : cases) {
    sim::Scenario scenario;
    std::string error;
    EXPECT_FALSE(sim::ParseScenario(c.text, "bad.toml", scenario, error)) << c.text;
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << "got: " << error;
  }
}

TEST(ScenarioEvents, AKeyUpPastTheLastFrameIsNoFault) {
  sim::Scenario scenario;
  std::string error;
  EXPECT_TRUE(sim::ParseScenario("frames = 10\nevents = [ { at = 9, do = \"press\", key = \"F6\" },"
                                 " { at = 5, do = \"hold\", key = \"V\", until = 50 } ]\n",
                                 "ok.toml", scenario, error))
      << error;
}

TEST(ScenarioEvents, AFolderOrAMissingFileIsNoScenario) {
  const std::filesystem::path folder = vantor_test::MakeScratchFolder("vantor-scenario-folder-test");
  sim::Scenario scenario;
  std::string error;
  EXPECT_FALSE(sim::LoadScenarioFile(folder.string(), scenario, error));
  EXPECT_EQ(error, folder.string() + ": is not a file");
  EXPECT_FALSE(sim::LoadScenarioFile((folder / "none.toml").string(), scenario, error));
  EXPECT_EQ(error, (folder / "none.toml").string() + ": no such file");
  vantor_test::RemoveScratchFolder(folder);
}

}  // namespace
