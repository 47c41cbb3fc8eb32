// What vantor-sim makes of a run: the summary told from the world and the trace, the camera
// offsets the CSV derives, and a plot that gnuplot draws even when first person never came.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <fstream>
#include <sstream>

#include "sim/cli/camera_log.h"
#include "sim/cli/contact_sheet.h"
#include "sim/cli/plot.h"
#include "sim/cli/summary.h"
#include "sim/linux/play.h"
#include "sim/render/frame.h"
#include "sim/scenario/scenario_file.h"
#include "support.h"

namespace {

// A frame of the world as the summary sees it: the camera on or off, and the calls it made.
struct SummaryBench {
  sim::World world;
  sim::Trace trace;
  sim::RunSummary summary;
  int32_t frame = 0;

  void Frame(bool active, bool setsViewMode = false, bool prompt = false) {
    world.camera.created = true;
    world.camera.active = active;
    world.scriptCamerasRendering = active;
    world.screen = {};
    if (setsViewMode) {
      sim::CallArguments arguments{};
      arguments.count = 1;
      sim::RecordCall(trace, frame, sim::FindNativeByName("SetVehicleCameraViewMode"), arguments, sim::CallResult{});
    }
    if (prompt) world.screen.texts.push_back({sim::HoldPromptText, 0.5f, 0.9f, {}});
    sim::NoteFrame(summary, world, trace, frame++);
  }
};

TEST(SimSummary, TellsActivationsExitsAndHoldOffsApart) {
  SummaryBench bench;
  bench.Frame(false);
  bench.Frame(true);                // 1: on
  bench.Frame(true, false, true);   // 2: the prompt
  bench.Frame(true, false, true);   // 3
  bench.Frame(false, true);         // 4: off by V, view mode set on the same frame
  bench.Frame(false, true);         // 5: the hold-off goes on
  bench.Frame(true);                // 6: on again
  bench.world.feed.push_back({6, "Vantor: settings saved"});
  bench.Frame(false);               // 7: off for another reason
  EXPECT_EQ(bench.summary.frames, 8);
  EXPECT_EQ(bench.summary.activations, (std::vector<int32_t>{1, 6}));
  EXPECT_EQ(bench.summary.exits, (std::vector<int32_t>{4}));
  EXPECT_EQ(bench.summary.releases, (std::vector<int32_t>{7}));
  ASSERT_EQ(bench.summary.holdPrompt.size(), 1u);
  EXPECT_EQ(bench.summary.holdPrompt[0].first, 2);
  EXPECT_EQ(bench.summary.holdPrompt[0].last, 3);
  ASSERT_EQ(bench.summary.viewModeHeld.size(), 1u);
  EXPECT_EQ(bench.summary.viewModeHeld[0].last, 5);
  ASSERT_EQ(bench.summary.notifications.size(), 1u) << "each notification is told once";
  const std::string told = sim::SummaryText(bench.summary);
  EXPECT_NE(told.find("first person on:  frames 1, 6\n"), std::string::npos) << told;
  EXPECT_NE(told.find("first person off: frames 4 (by V), 7\n"), std::string::npos) << told;
  EXPECT_NE(told.find("  frame 6: \"Vantor: settings saved\"\n"), std::string::npos) << told;
}

TEST(SimSummary, ACameraActiveWithoutScriptRenderingIsNotFirstPerson) {
  SummaryBench bench;
  bench.world.camera.created = true;
  bench.world.camera.active = true;
  bench.world.scriptCamerasRendering = false;
  sim::NoteFrame(bench.summary, bench.world, bench.trace, 0);
  EXPECT_TRUE(bench.summary.activations.empty());
}

sim::World WorldWithCar(float carYaw, sim::Vec3 cameraRotation) {
  sim::World world;
  sim::Vehicle car;
  car.rotation = {1.0f, -2.0f, carYaw};
  car.speed = 12.0f;
  sim::EnterVehicle(world, sim::AddVehicle(world, car), -1);
  world.camera.created = true;
  world.camera.active = true;
  world.scriptCamerasRendering = true;
  world.camera.rotation = cameraRotation;
  world.camera.fov = 84.0f;
  return world;
}

TEST(SimCameraLog, OffsetsAreTheCameraRelativeToTheVehiclesAttitude) {
  const auto relative = [](sim::Vec3 car, sim::Vec3 camera) {
    sim::World world = WorldWithCar(0.0f, camera);
    world.vehicles[0].rotation = car;
    return sim::SampleCamera(world, 10, 16);
  };
  const sim::CameraSample across = relative({0.0f, 0.0f, -179.0f}, {0.0f, 0.0f, 179.0f});
  EXPECT_TRUE(across.active);
  EXPECT_DOUBLE_EQ(across.timeSeconds, 0.16);
  EXPECT_NEAR(across.lookYaw, -2.0f, 1e-4f) << "179 against -179 is 2 degrees to the right, not 358";
  EXPECT_NEAR(relative({0.0f, 0.0f, 30.0f}, {5.0f, 0.0f, 30.0f}).lookPitch, 5.0f, 1e-4f);
  EXPECT_NEAR(relative({0.0f, 0.0f, 30.0f}, {0.0f, 3.0f, 30.0f}).lean, 3.0f, 1e-4f);
  // Upside down at the top of a loop, the camera given the game's report of the same attitude
  // looks straight ahead: the offsets stay meaningful past vertical.
  const sim::Vec3 looping{150.0f, 10.0f, 40.0f};
  const sim::CameraSample top = relative(looping, sim::ReportedRotation(looping));
  EXPECT_NEAR(top.lookYaw, 0.0f, 1e-3f);
  EXPECT_NEAR(top.lookPitch, 0.0f, 1e-3f);
  EXPECT_NEAR(top.lean, 0.0f, 1e-3f);
  EXPECT_FLOAT_EQ(sim::WrapDegrees(180.0f), -180.0f);
  EXPECT_FLOAT_EQ(sim::WrapDegrees(-900.0f), -180.0f);

  sim::World onFoot = WorldWithCar(30.0f, {});
  sim::LeaveVehicle(onFoot, {});
  EXPECT_TRUE(sim::SampleCamera(onFoot, 0, 16).hasVehicle) << "the car just left is still the reference";
  onFoot.vehicles[0].exists = false;
  EXPECT_FALSE(sim::SampleCamera(onFoot, 0, 16).hasVehicle);
}

using vantor_test::ReadWholeFile;

class SimFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = std::filesystem::current_path();
    folder = vantor_test::MakeScratchFolder("vantor-sim-outputs");
    std::filesystem::current_path(folder);
  }
  void TearDown() override {
    std::filesystem::current_path(previous);
    vantor_test::RemoveScratchFolder(folder);
  }
  std::filesystem::path previous, folder;
};

// Measured along the tilted vehicle's own z axis from the seat bone, or from the vehicle's
// origin when it has none, as the plugin places the camera.
TEST(SimCameraLog, HeightAboveTheSeatFollowsTheVehiclesZAxis) {
  sim::World world = WorldWithCar(40.0f, {});
  sim::Vehicle& car = world.vehicles[0];
  car.position = {5.0f, -6.0f, 7.0f};
  car.rotation = {10.0f, -20.0f, 40.0f};
  const sim::Vec3 seat = car.seatBoneOffset;
  world.camera.position = sim::LocalToWorld(car, {seat.x, seat.y + 0.1f, seat.z + 0.62f});
  EXPECT_NEAR(sim::SampleCamera(world, 0, 16).heightAboveSeat, 0.62f, 1e-5f);
  car.hasSeatBone = false;
  world.camera.position = sim::LocalToWorld(car, {0.0f, 0.1f, 0.35f});
  EXPECT_NEAR(sim::SampleCamera(world, 0, 16).heightAboveSeat, 0.35f, 1e-5f);
}

TEST_F(SimFolder, CsvLeavesOffsetsEmptyWhileFirstPersonIsOff) {
  sim::World world = WorldWithCar(0.0f, {0.0f, 0.0f, 10.0f});
  world.vehicles[0].rotation = {};
  std::vector<sim::CameraSample> samples{sim::SampleCamera(world, 0, 16)};
  world.camera.active = false;
  samples.push_back(sim::SampleCamera(world, 1, 16));
  ASSERT_TRUE(sim::WriteCameraCsv(samples, "camera.csv"));
  std::istringstream lines(ReadWholeFile("camera.csv"));
  std::string header, on, off;
  std::getline(lines, header);
  std::getline(lines, on);
  std::getline(lines, off);
  EXPECT_EQ(std::count(header.begin(), header.end(), ','), 19);
  // The camera sits at the vehicle's origin, 0.45 m below the seat bone.
  EXPECT_EQ(on, "0,0,100000,1,vantor,1,0,0,0,0,0,10,84,0,0,12,10,0,0,-0.45");
  EXPECT_EQ(off, "1,0.016,100000,0,gameplay,1,0,0,0,0,0,10,84,0,0,12,,,,");
}

// gnuplot cannot autoscale an axis with nothing on it; a run without first person must plot.
TEST_F(SimFolder, PlotsARunInWhichFirstPersonNeverCame) {
  std::vector<sim::CameraSample> samples(3);
  for (int i = 0; i < 3; ++i) samples[static_cast<size_t>(i)].timeSeconds = i * 0.016;
  sim::PlotRun run = sim::StartPlot(samples, "it's empty");
  const sim::PlotOutcome outcome = sim::FinishPlot(run);
  if (outcome == sim::PlotOutcome::NoGnuplot) GTEST_SKIP() << "gnuplot is not installed";
  EXPECT_EQ(outcome, sim::PlotOutcome::Plotted) << ReadWholeFile(sim::PlotLogFile);
  EXPECT_TRUE(std::filesystem::exists(sim::PlotPictureFile));
}

TEST_F(SimFolder, LongRunsArePlottedOnAtMostTheRowLimit) {
  std::vector<sim::CameraSample> samples(sim::PlotRowsMax * 3 + 7);
  for (size_t i = 0; i < samples.size(); ++i) samples[i].timeSeconds = static_cast<double>(i);
  sim::PlotRun run = sim::StartPlot(samples, "long");
  sim::FinishPlot(run);
  const std::string data = ReadWholeFile(sim::PlotDataFile);
  const auto rows = std::count(data.begin(), data.end(), '\n') - 1;
  EXPECT_LE(static_cast<size_t>(rows), sim::PlotRowsMax + 1);
  std::string lastRow = "\n";
  lastRow += std::to_string(samples.size() - 1);
  EXPECT_NE(data.find(lastRow + ".000 "), std::string::npos) << "the last frame is kept";
}

// A frame of first person through the real plugin, with the menu open, drawn small.
struct Shot {
  sim::ScreenPicture picture{480, 270, {}};
  sim::Screen screen;
};

Shot FirstPersonWithMenu(const std::string& settings) {
  sim::Scenario scenario;
  std::string error;
  EXPECT_TRUE(sim::ParseScenario("frames = 80\nview_mode = 4\nsettings_file = \"" + settings + "\"\nevents = [\n"
                                 "  { at = 0, do = \"enter\", vehicle = \"car\" },\n"
                                 "  { at = 70, do = \"press\", key = \"F6\" },\n]\n"
                                 "[[vehicle]]\nname = \"car\"\nclass = 1\n",
                                 "shot.toml", scenario, error))
      << error;
  Shot shot;
  const std::vector<sim::Road> roads = sim::PlanRoads(scenario);
  auto host = std::make_unique<sim::LinuxHost>();
  sim::PlayScenario(*host, scenario, sim::DefaultPluginPath(), [&](const sim::World& world, int32_t frame) {
    if (frame != scenario.frames - 1) return;
    EXPECT_TRUE(sim::ScriptedCameraShown(world));
    EXPECT_TRUE(sim::RenderFrame(world, roads, {}, shot.picture));
    shot.screen = world.screen;
  });
  return shot;
}

bool Paintwork(uint32_t rgb) { return (rgb >> 16 & 0xFF) > 110 && (rgb >> 8 & 0xFF) < 60 && (rgb & 0xFF) < 60; }

struct Difference {
  int changed = 0;  // pixels outside the menu that differ
  bool menuAlike = true;  // the menu's rectangles and text places are the same
  bool titleAlike = true;  // its opaque title bar looks the same
};

Difference Compare(const Shot& a, const Shot& b) {
  Difference difference;
  const sim::ScreenPicture& p = a.picture;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const bool inMenu = x >= 0.049 * p.width && x <= 0.399 * p.width && y >= 0.299 * p.height && y <= 0.761 * p.height;
      const bool inTitle = x >= 0.06 * p.width && x <= 0.38 * p.width && y >= 0.305 * p.height && y <= 0.337 * p.height;
      if (!inMenu && p.At(x, y) != b.picture.At(x, y)) ++difference.changed;
      if (inTitle && p.At(x, y) != b.picture.At(x, y)) difference.titleAlike = false;
    }
  difference.menuAlike = a.screen.rects.size() == b.screen.rects.size() && a.screen.texts.size() == b.screen.texts.size();
  for (size_t i = 0; difference.menuAlike && i < a.screen.rects.size(); ++i)
    difference.menuAlike = std::memcmp(&a.screen.rects[i], &b.screen.rects[i], sizeof(sim::DrawnRect)) == 0;
  for (size_t i = 0; difference.menuAlike && i < a.screen.texts.size(); ++i)
    difference.menuAlike = a.screen.texts[i].x == b.screen.texts[i].x && a.screen.texts[i].y == b.screen.texts[i].y;
  return difference;
}

int BonnetPixels(const Shot& shot) {
  return static_cast<int>(std::count_if(shot.picture.pixels.begin(), shot.picture.pixels.end(), Paintwork));
}

TEST_F(SimFolder, HeightAndFieldOfViewChangeTheFirstPersonViewButNotTheMenuOverIt) {
  const Shot low = FirstPersonWithMenu("Height_1=0.4\\r\\nFOV=70\\r\\n");
  const Shot high = FirstPersonWithMenu("Height_1=1.0\\r\\nFOV=70\\r\\n");
  const Shot wide = FirstPersonWithMenu("Height_1=0.4\\r\\nFOV=105\\r\\n");
  const int outside = 480 * 270 * 3 / 4;  // about the pixels outside the menu
  for (const Shot* other : {&high, &wide}) {
    const Difference difference = Compare(low, *other);
    EXPECT_GT(difference.changed, outside / 20) << "the view changes visibly";
    EXPECT_TRUE(difference.menuAlike);
    EXPECT_TRUE(difference.titleAlike);
  }
  // Kept for a reader beside the other pictures of the build.
  std::filesystem::create_directories(VANTOR_PICTURES_DIR);
  for (const auto& [shot, name] : {std::pair{&low, "height_0.4.png"}, {&high, "height_1.0.png"}, {&wide, "fov_105.png"}})
    sim::WritePicturePng(shot->picture, std::string(VANTOR_PICTURES_DIR) + "/first_person_" + name);
  // Sitting low, the dashboard hides the bonnet; sitting high, the bonnet shows.
  EXPECT_LT(BonnetPixels(low), 20);
  EXPECT_GT(BonnetPixels(high), 2000);
}

// Pictures go on the sheet in rows of four, each over its label.
TEST_F(SimFolder, ContactSheetLaysThePicturesOutInRowsOfFour) {
  sim::ContactSheet sheet;
  constexpr uint32_t Colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF};
  for (const uint32_t colour : Colours) {
    sim::ScreenPicture picture{960, 540, std::vector<uint32_t>(960 * 540, colour)};
    sim::AddToSheet(sheet, picture, "frame", "a caption, long enough to be broken after one of its commas");
  }
  ASSERT_TRUE(sim::WriteContactSheet(sheet, "five", "sheet.png"));
  sim::ScreenPicture read;
  ASSERT_TRUE(sim::ReadScreenPng("sheet.png", read));
  EXPECT_EQ(read.width, 16 + 4 * (sim::ThumbnailWidth + 16));
  const int thumbnailHeight = sim::ThumbnailWidth * 540 / 960;
  EXPECT_GT(read.height, 2 * thumbnailHeight);
  const auto middleOf = [&](int index) {
    const int column = index % 4, row = index / 4;
    const int cellHeight = (read.height - 44) / 2;
    return read.At(16 + column * (sim::ThumbnailWidth + 16) + sim::ThumbnailWidth / 2, 44 + row * cellHeight + thumbnailHeight / 2);
  };
  for (int i = 0; i < 5; ++i) EXPECT_EQ(middleOf(i), Colours[i]) << "picture " << i;
  EXPECT_FALSE(sim::WriteContactSheet(sim::ContactSheet{}, "none", "empty.png"));
}

}  // namespace
