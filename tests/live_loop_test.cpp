// The live loop without a window: a person's frames of input played through the real plugin,
// the drive recorded, written out, read back and played again as a scenario to the same trace.
#include "sim/core/live_loop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "sim/core/track.h"
#include "sim/linux/play.h"
#include "sim/scenario/scenario_file.h"
#include "sim/scenario/scenario_record.h"
#include "support.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t KeyV = 0x56, KeyF6 = 0x75, KeyDown = 0x28, KeyRight = 0x27;

// A folder of its own for each play: the plugin reads and saves Vantor.ini in it.
struct InFolder {
  fs::path previous = fs::current_path();
  fs::path folder;
  explicit InFolder(const std::string& name) {
    folder = vantor_test::MakeScratchFolder("vantor-live-" + name);
    fs::current_path(folder);
  }
  ~InFolder() {
    fs::current_path(previous);
    vantor_test::RemoveScratchFolder(folder);
  }
};

// A person's drive, frame by frame: what changes on which frame.
std::map<int32_t, sim::LiveInputs> PersonsDrive() {
  std::map<int32_t, sim::LiveInputs> drive;
  drive[3].enterOrLeave = true;  // into the car beside
  for (int32_t frame = 6; frame < 120; ++frame) drive[frame].motion = {1.0f, 0.0f, frame > 60 ? 0.4f : 0.0f};
  drive[10].keys = {{KeyV, true}, {KeyV, false}};  // a tap inside one frame: view 1 to 2
  drive[14].keys = {{KeyV, true}};                 // view 2 to 4, first person
  drive[16].keys = {{KeyV, false}};
  drive[30].keys = {{KeyF6, true}};
  drive[33].keys = {{KeyF6, false}};
  drive[40].keys = {{KeyDown, true}};
  drive[44].keys = {{KeyDown, false}};
  drive[50].keys = {{KeyRight, true}};
  drive[53].keys = {{KeyRight, false}};
  for (int32_t frame = 70; frame < 80; ++frame) {
    drive[frame].lookX = 0.1f / static_cast<float>(frame - 69);
    drive[frame].lookY = -0.0f;
  }
  drive[90].keys = {{KeyV, true}, {KeyV, false}, {KeyV, true}};  // two taps' edges in one frame
  drive[92].keys = {{KeyV, false}};
  drive[100].enterOrLeave = true;  // out, with the throttle still down
  return drive;
}

TEST(LiveLoop, ADriveRecordedPlaysAgainToTheSameTrace) {
  constexpr int32_t Frames = 130;
  const std::map<int32_t, sim::LiveInputs> person = PersonsDrive();
  auto live = std::make_unique<sim::LinuxHost>();
  sim::LiveLoop loop;
  {
    const InFolder in("live");
    sim::StartLive(loop, sim::CircuitStart());
    ASSERT_TRUE(sim::StartScenario(*live, loop.start, sim::DefaultPluginPath())) << live->hook.world.errors.front();
    const sim::World& world = live->hook.world;
    for (int32_t frame = 0; frame < Frames; ++frame) {
      const auto inputs = person.find(frame);
      ASSERT_TRUE(sim::StepLive(*live, loop, inputs != person.end() ? inputs->second : sim::LiveInputs{}))
          << world.errors.front();
      if (frame == 5) {
        EXPECT_EQ(world.player.vehicle, sim::VehicleHandle(0)) << "F takes the nearest vehicle, the car";
        EXPECT_EQ(world.player.seat, -1);
      }
      if (frame == 13) {
        EXPECT_EQ(sim::CameraRendering(world), sim::RenderingCamera::Gameplay) << "view mode 2 follows the car";
      }
      if (frame == 20) {
        EXPECT_EQ(sim::CameraRendering(world), sim::RenderingCamera::Vantor) << "V round to first person";
      }
      if (frame == 99) {
        EXPECT_NEAR(world.camera.fov, 82.5f, 0.05f) << "eased to the menu's FOV row, one step right";
      }
      if (frame == 60) {
        EXPECT_GT(world.vehicles[0].speed, 3.0f) << "the throttle moves the car";
      }
      if (frame == 101) {
        EXPECT_EQ(world.player.vehicle, 0) << "F again gets out";
      }
    }
    EXPECT_EQ(world.vehicles[0].motion.inputs.throttle, 0.0f) << "the car left behind is let go";
    EXPECT_TRUE(world.vehicles[1].motion.inputs.throttle == 0.0f && !world.vehicles[1].motion.driven)
        << "no input ever reached the sports car";
    sim::UnloadPlugin(*live);
  }
  const sim::Scenario recording = sim::Recording(loop);
  EXPECT_EQ(recording.frames, Frames);
  int tapFrameEvents = 0;
  for (const sim::ScenarioEvent& event : recording.events)
    if (event.frame == 10 && event.key == KeyV) ++tapFrameEvents;
  EXPECT_EQ(tapFrameEvents, 2) << "both edges of the tap";

  sim::Scenario replayed;
  std::string error;
  ASSERT_TRUE(sim::ParseScenario(sim::WriteScenarioToml(recording, "unused.ini").toml, "drive.toml", replayed, error))
      << error;
  auto replay = std::make_unique<sim::LinuxHost>();
  {
    const InFolder in("replay");
    EXPECT_TRUE(sim::PlayScenario(*replay, replayed, sim::DefaultPluginPath())) << replay->hook.world.errors.front();
  }
  const std::string liveTrace = sim::FormatTrace(live->hook.trace), replayTrace = sim::FormatTrace(replay->hook.trace);
  EXPECT_GT(live->hook.trace.records.size(), static_cast<size_t>(Frames) * 10);
  EXPECT_TRUE(liveTrace == replayTrace)
      << "the first difference at byte "
      << std::mismatch(liveTrace.begin(), liveTrace.end(), replayTrace.begin(), replayTrace.end()).first -
             liveTrace.begin();
  const sim::World &a = live->hook.world, &b = replay->hook.world;
  EXPECT_EQ(a.vehicles[0].position.x, b.vehicles[0].position.x);
  EXPECT_EQ(a.vehicles[0].position.y, b.vehicles[0].position.y);
}

// On foot the driving controls walk: back along the grid and across to the motorbike, then F
// takes the motorbike, the nearest vehicle there. The world alone, no plugin.
TEST(LiveLoop, OnFootTheControlsWalkToTheVehicleToGetInto) {
  sim::World world;
  sim::LiveLoop loop;
  sim::StartLive(loop, sim::CircuitStart());
  sim::SetUpWorld(world, loop.start);
  const auto frame = [&](const sim::LiveInputs& inputs) {
    sim::ApplyLiveInputs(loop, world, inputs);
    sim::AdvanceWorld(world, loop.start.frameTimeMs);
    ++loop.frame;
  };
  sim::LiveInputs back, right, enter;
  back.motion.brake = 1.0f;   // S
  right.motion.steer = 1.0f;  // D
  enter.enterOrLeave = true;
  frame({});
  const sim::Vec3 start = world.player.position;
  for (int i = 0; i < 172; ++i) frame(back);  // 11 m at a jog
  EXPECT_NEAR(world.player.position.y, start.y - 11.0f, 0.1f) << "facing north with no vehicle used yet";
  for (int i = 0; i < 50; ++i) frame(right);
  frame(enter);
  EXPECT_EQ(world.player.vehicle, sim::VehicleHandle(2)) << "the motorbike";
  const sim::Vec3 seated = world.player.position;
  for (int i = 0; i < 10; ++i) frame(back);
  EXPECT_EQ(world.player.position.x, seated.x) << "in a vehicle the controls drive, the player does not walk";
  EXPECT_LT(world.vehicles[2].speed, 0.0f) << "S reverses the motorbike";
  int walkEvents = 0;
  for (const sim::ScenarioEvent& event : sim::Recording(loop).events) walkEvents += event.kind == sim::EventKind::Walk;
  EXPECT_EQ(walkEvents, 3) << "back, across, and stopped on getting in: events only where the input changed";
}

TEST(LiveLoop, FramesArePacedToRealTimeAndNeverDropped) {
  sim::LivePacer pacer;
  EXPECT_EQ(sim::FramesDue(pacer, 1000.0, 0, 16), 1) << "the first frame at once";
  EXPECT_EQ(sim::FramesDue(pacer, 1015.9, 1, 16), 0);
  EXPECT_EQ(sim::NextFrameDueMs(pacer, 1, 16), 1016.0);
  EXPECT_EQ(sim::FramesDue(pacer, 1016.0, 1, 16), 1);
  EXPECT_EQ(sim::FramesDue(pacer, 1100.0, 2, 16), 5) << "drawing fell behind: frames 2 to 6 are all due";
  EXPECT_EQ(sim::FramesDue(pacer, 1100.0, 7, 16), 0);
}

}  // namespace
