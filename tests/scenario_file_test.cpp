// Scenario files: what they say reaches the timeline, and a bad file names its line.
#include <gtest/gtest.h>

#include "sim/scenario/scenario_file.h"

namespace {

using sim::EventKind;

const char* const Drive = R"(name = "short drive"
frame_time_ms = 20
frames = 50
settings_file = "FOV=90\n"
events = [
  { at = 10, do = "drive", vehicle = "car", speed = 12.5 },
  { at = 2, do = "enter", vehicle = "car", seat = -1 },
  { at = 20, do = "hold", key = "V", until = 30 },
  { at = 5, do = "look", x = 0.5, y = -0.25, until = 8 },
]

[[vehicle]]
name = "car"
class = 5
seat_bone = false
position = [1, 2, 3]
)";

TEST(ScenarioFile, ReadsTheTimelineInFrameOrder) {
  sim::Scenario scenario;
  std::string error;
  ASSERT_TRUE(sim::ParseScenario(Drive, "drive.toml", scenario, error)) << error;
  EXPECT_EQ(scenario.frameTimeMs, 20);
  EXPECT_EQ(scenario.frames, 50);
  ASSERT_TRUE(scenario.settingsFile.has_value());
  EXPECT_EQ(*scenario.settingsFile, "FOV=90\n");
  ASSERT_EQ(scenario.vehicles.size(), 1u);
  EXPECT_EQ(scenario.vehicles[0].vehicleClass, 5);
  EXPECT_FALSE(scenario.vehicles[0].hasSeatBone);

  std::vector<std::pair<int32_t, EventKind>> timeline;
  for (const sim::ScenarioEvent& event : scenario.events) timeline.emplace_back(event.frame, event.kind);
  const std::vector<std::pair<int32_t, EventKind>> expected = {
      {2, EventKind::Enter}, {5, EventKind::Look}, {8, EventKind::Look},
      {10, EventKind::Drive}, {20, EventKind::KeyDown}, {30, EventKind::KeyUp}};
  EXPECT_EQ(timeline, expected);
  EXPECT_EQ(scenario.events[1].lookY, -0.25f);
  EXPECT_EQ(scenario.events[2].lookX, 0.0f) << "a look span ends centred";
  EXPECT_EQ(*scenario.events[3].speed, 12.5f);
  EXPECT_EQ(scenario.events[4].key, 0x56);
}

TEST(ScenarioFile, RefusesABadFileNamingItsLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"frames = 10\nevents = [\n  { at = 1, do = \"fly\" },\n]\n", "bad.toml:3: unknown action 'fly'"},
      {"frames = 10\nevents = [ { at = 1, do = \"enter\", vehicle = \"bus\" } ]\n", "bad.toml:2: expected the name"},
      {"frames = 10\n\nframe_rate = 3\n", "bad.toml:3: unknown key 'frame_rate'"},
      {"frames = [\n", "bad.toml:1:"},
      {"events = [ { at = 4, do = \"press\", key = \"Q\" } ]\n", "bad.toml:1: expected a key"},
  };
  for (const auto& c : cases) {
    sim::Scenario scenario;
    std::string error;
    EXPECT_FALSE(sim::ParseScenario(c.text, "bad.toml", scenario, error)) << c.text;
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << "got: " << error;
  }
}

}  // namespace
