// What the live drive adds to scenarios: the circuit, throttle, brake and steer, and a
// scenario written out that reads back as the same scenario.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "sim/core/track.h"
#include "sim/render/road.h"
#include "sim/scenario/scenario_file.h"
#include "sim/scenario/scenario_record.h"
#include "support.h"

namespace {

namespace fs = std::filesystem;
using vantor_test::SameFloat;

sim::Scenario Parse(const std::string& text, const std::string& origin = "test.toml") {
  sim::Scenario scenario;
  std::string error;
  EXPECT_TRUE(sim::ParseScenario(text, origin, scenario, error)) << error;
  return scenario;
}

constexpr const char* Car = "[[vehicle]]\nname = \"car\"\nclass = 6\n";

TEST(DriveScenario, TheCircuitIsAClosedRoadOfBendsAndStraights) {
  const std::vector<sim::Vec3> line = sim::CircuitCentreLine(2.0);
  double length = 0.0, longestStep = 0.0;
  for (size_t i = 1; i < line.size(); ++i) {
    const double step = std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
    length += step;
    longestStep = std::max(longestStep, step);
  }
  EXPECT_GT(length, 4000.0);
  EXPECT_LT(length, 6000.0);
  EXPECT_LE(longestStep, 2.0 + 1e-3) << "the last piece closes on the start without a jump";
  EXPECT_EQ(line.front().x, line.back().x);
  EXPECT_EQ(line.front().y, line.back().y);

  const sim::Scenario scenario = Parse(std::string("track = \"circuit\"\nframes = 5\n") + Car);
  const std::vector<sim::Road> roads = sim::PlanRoads(scenario);
  ASSERT_EQ(roads.size(), 1u) << "the circuit is the road, not the vehicle's path";
  EXPECT_NEAR(roads[0].distance.back(), length, 1.0);
}

TEST(DriveScenario, TheGridParksEachClassOnTheStartStraightWithThePlayerBeside) {
  const sim::Scenario start = sim::CircuitStart();
  std::vector<int32_t> classes;
  for (const sim::ScenarioVehicle& vehicle : start.vehicles) {
    classes.push_back(vehicle.vehicleClass);
    EXPECT_LE(std::fabs(vehicle.position.x), 3.5f) << vehicle.name << " stands on the road";
  }
  EXPECT_EQ(classes, (std::vector<int32_t>{1, 6, 8, 22}));
  sim::World world;
  sim::SetUpWorld(world, start);
  size_t cursor = 0;
  sim::ApplyEvents(world, start, 0, cursor);
  EXPECT_EQ(world.player.vehicle, 0) << "on foot";
  EXPECT_GT(std::fabs(world.player.position.x), 3.5f) << "on the grass beside the road";
}

TEST(DriveScenario, MotionEventsReachTheVehicleAndLetGoAtUntil) {
  sim::Scenario scenario =
      Parse(std::string("frames = 40\nevents = [\n"
                        "  { at = 2, do = \"throttle\", vehicle = \"car\", amount = 0.75, until = 20 },\n"
                        "  { at = 3, do = \"steer\", vehicle = \"car\", amount = -1 },\n"
                        "  { at = 4, do = \"brake\", vehicle = \"car\", amount = 0.5 },\n"
                        "  { at = 30, do = \"drive\", vehicle = \"car\", speed = 3 },\n]\n") +
            Car);
  sim::World world;
  sim::SetUpWorld(world, scenario);
  size_t cursor = 0;
  const sim::Vehicle& car = world.vehicles.front();
  for (int32_t frame = 0; frame < 40; ++frame) {
    sim::ApplyEvents(world, scenario, frame, cursor);
    if (frame == 1) {
      EXPECT_FALSE(car.motion.driven) << "no input yet: the scenario's own speed holds";
    }
    if (frame == 4) {
      EXPECT_TRUE(car.motion.driven);
      EXPECT_EQ(car.motion.inputs.throttle, 0.75f);
      EXPECT_EQ(car.motion.inputs.steer, -1.0f);
      EXPECT_EQ(car.motion.inputs.brake, 0.5f);
    }
    if (frame == 20) {
      EXPECT_EQ(car.motion.inputs.throttle, 0.0f) << "let go at 'until'";
    }
    if (frame == 30) {
      EXPECT_EQ(car.speed, 3.0f) << "a drive sets the speed for its frame";
    }
    sim::AdvanceWorld(world, scenario.frameTimeMs);
    if (frame == 30) {
      EXPECT_LT(car.speed, 3.0f) << "then the world moves it on: braking, no throttle";
    }
  }
}

TEST(DriveScenario, RefusesWhatTheMotionCannotPlay) {
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {std::string("frames = 10\nevents = [\n { at = 1, do = \"throttle\", vehicle = \"car\", amount = 1.5 },\n]\n") +
           Car,
       "bad.toml:3: expected an amount from 0 to 1"},
      {std::string("frames = 10\nevents = [\n { at = 1, do = \"steer\", vehicle = \"car\", amount = nan },\n]\n") + Car,
       "bad.toml:3: expected an amount from -1 (full left) to 1 (full right)"},
      {std::string("frames = 10\nevents = [\n { at = 1, do = \"brake\", vehicle = \"car\" },\n]\n") + Car,
       "bad.toml:3: 'brake' needs 'amount'"},
      {std::string("frames = 10\nevents = [\n { at = 1, do = \"throttle\", amount = 1 },\n]\n") + Car,
       "bad.toml:3: 'throttle' needs 'vehicle'"},
      {std::string("frames = 10\nevents = [\n { at = 1, do = \"drive\", vehicle = \"car\", speed = 9, until = 5 },\n"
                   " { at = 6, do = \"throttle\", vehicle = \"car\", amount = 1 },\n]\n") +
           Car,
       "bad.toml:3: a 'drive' with 'until' cannot ramp 'car': throttle, brake or steer drive it"},
      {"track = \"monza\"\n", "bad.toml:1: expected a track for 'track': \"circuit\""},
      {"frames = 10\nevents = [\n { at = 1, do = \"walk\", y = 1.5 },\n]\n",
       "bad.toml:3: expected 'x' and 'y' from -1 to 1"},
  };
  for (const auto& c : cases) {
    sim::Scenario scenario;
    std::string error;
    EXPECT_FALSE(sim::ParseScenario(c.text, "bad.toml", scenario, error)) << c.text;
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << "got: " << error;
  }
}

void ExpectSameEvents(const sim::Scenario& a, const sim::Scenario& b) {
  ASSERT_EQ(a.events.size(), b.events.size());
  for (size_t i = 0; i < a.events.size(); ++i) {
    const sim::ScenarioEvent &x = a.events[i], &y = b.events[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(x.frame, y.frame);
    EXPECT_EQ(x.kind, y.kind);
    EXPECT_EQ(x.vehicle, y.vehicle);
    EXPECT_EQ(x.key, y.key);
    EXPECT_EQ(x.seat, y.seat);
    EXPECT_TRUE(SameFloat(x.amount, y.amount)) << x.amount << " " << y.amount;
    EXPECT_TRUE(SameFloat(x.lookX, y.lookX)) << x.lookX << " " << y.lookX;
    EXPECT_TRUE(SameFloat(x.lookY, y.lookY));
    EXPECT_TRUE(SameFloat(x.offset.x, y.offset.x) && SameFloat(x.offset.y, y.offset.y) &&
                SameFloat(x.offset.z, y.offset.z));
    EXPECT_EQ(x.speed.has_value(), y.speed.has_value());
    if (x.speed && y.speed) {
      EXPECT_TRUE(SameFloat(*x.speed, *y.speed));
    }
  }
}

// Every kind of event, floats that need all their digits, a negative zero and keys pressed
// twice in one frame come back bit for bit, in the order written.
TEST(DriveScenario, AWrittenScenarioReadsBackTheSame) {
  sim::Scenario scenario = sim::CircuitStart();
  scenario.frames = 50;
  scenario.settingsFile = "FOV=90\r\n\"quoted\" \\ tab\there\n\xC3\xA9t\xC3\xA9\n";
  const auto add = [&](int32_t frame, sim::EventKind kind, auto&& fill) {
    sim::ScenarioEvent event;
    event.frame = frame;
    event.kind = kind;
    fill(event);
    scenario.events.push_back(event);
  };
  add(1, sim::EventKind::Enter, [](sim::ScenarioEvent& e) {
    e.vehicle = 2;
    e.seat = -1;
  });
  add(2, sim::EventKind::KeyDown, [](sim::ScenarioEvent& e) { e.key = 0x56; });
  add(2, sim::EventKind::KeyUp, [](sim::ScenarioEvent& e) { e.key = 0x56; });
  add(2, sim::EventKind::KeyDown, [](sim::ScenarioEvent& e) { e.key = 0x56; });
  add(3, sim::EventKind::Look, [](sim::ScenarioEvent& e) {
    e.lookX = 0.1f + 0.2f;
    e.lookY = -0.0f;
  });
  add(3, sim::EventKind::Throttle, [](sim::ScenarioEvent& e) {
    e.vehicle = 2;
    e.amount = 1.0f / 3.0f;
  });
  add(3, sim::EventKind::Steer, [](sim::ScenarioEvent& e) {
    e.vehicle = 2;
    e.amount = -1e-7f;
  });
  add(4, sim::EventKind::Brake, [](sim::ScenarioEvent& e) {
    e.vehicle = 2;
    e.amount = 1.0f;
  });
  add(5, sim::EventKind::Drive, [](sim::ScenarioEvent& e) {
    e.vehicle = 1;
    e.speed = 16777217.0f;
    e.yaw = -179.99998f;
  });
  add(5, sim::EventKind::Walk, [](sim::ScenarioEvent& e) {
    e.lookX = -1.0f;
    e.lookY = 0.7f;
  });
  add(6, sim::EventKind::Leave, [](sim::ScenarioEvent& e) { e.offset = {-1.8f, 0.0f, 1e-30f}; });
  add(7, sim::EventKind::KeyDown, [](sim::ScenarioEvent& e) { e.key = 0x69; });
  add(8, sim::EventKind::Picture, [](sim::ScenarioEvent&) {});

  const sim::ScenarioText text = sim::WriteScenarioToml(scenario, "unused.ini");
  EXPECT_FALSE(text.settingsBeside) << "UTF-8 is embedded";
  const sim::Scenario back = Parse(text.toml);
  EXPECT_EQ(back.settingsFile, scenario.settingsFile);
  EXPECT_EQ(back.track, "circuit");
  EXPECT_EQ(back.frames, 50);
  ASSERT_EQ(back.vehicles.size(), scenario.vehicles.size());
  EXPECT_EQ(back.vehicles[2].seatBone.z, scenario.vehicles[2].seatBone.z);
  ExpectSameEvents(scenario, back);
  EXPECT_TRUE(std::signbit(back.events[5].lookY)) << "-0 stays negative: the plugin is handed its bits";
}

TEST(DriveScenario, ASettingsFileThatIsNotUtf8GoesBesideTheScenario) {
  const fs::path folder = vantor_test::MakeScratchFolder("vantor-record");
  sim::Scenario scenario = sim::CircuitStart();
  scenario.frames = 1;
  const std::string latin1 = "FOV=85 \xB0\r\nHeight_8=0.9\r\n";
  scenario.settingsFile = latin1;
  const sim::ScenarioText text = sim::WriteScenarioToml(scenario, "drive.Vantor.ini");
  ASSERT_TRUE(text.settingsBeside);
  std::ofstream(folder / "drive.toml", std::ios::binary) << text.toml;
  std::ofstream(folder / "drive.Vantor.ini", std::ios::binary) << *text.settingsBeside;
  sim::Scenario back;
  std::string error;
  EXPECT_TRUE(sim::LoadScenarioFile((folder / "drive.toml").string(), back, error)) << error;
  EXPECT_EQ(back.settingsFile, latin1);
  fs::remove(folder / "drive.Vantor.ini");
  EXPECT_FALSE(sim::LoadScenarioFile((folder / "drive.toml").string(), back, error));
  EXPECT_NE(error.find("'settings_file_from'"), std::string::npos) << error;
  vantor_test::RemoveScratchFolder(folder);
}

TEST(DriveScenario, Utf8IsCheckedStrictly) {
  const struct {
    const char* bytes;
    bool utf8;
  } cases[] = {
      {"plain", true},
      {"\xC3\xA9", true},
      {"\xEF\xBB\xBF"
       "BOM",
       true},
      {"\xF0\x9F\x9A\x97", true},
      {"\xC3", false},
      {"\xC0\xAF", false},
      {"\xED\xA0\x80", false},
      {"\xF4\x90\x80\x80", false},
      {"\xB0", false},
      {"\xE2\x82", false},
  };
  for (const auto& c : cases) EXPECT_EQ(sim::IsUtf8(c.bytes), c.utf8) << sim::IsUtf8(c.bytes) << " " << c.bytes;
}

}  // namespace
