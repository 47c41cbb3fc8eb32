// The vantor-sim command as a user runs it: a bad scenario is refused before anything is
// played, a good one leaves its outputs, and two runs of one scenario write the same bytes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "sim/cli/builtin_drive.h"
#include "sim/scenario/scenario_file.h"
#include "support.h"

namespace {

namespace fs = std::filesystem;
using vantor_test::ReadWholeFile;

struct CommandResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class SimCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = vantor_test::MakeScratchFolder("vantor-sim-test");
  }
  void TearDown() override { vantor_test::RemoveScratchFolder(folder); }

  // Runs the command from `folder` with the arguments as one shell-quoted string.
  CommandResult Run(const std::string& arguments) const {
    const std::string command = "cd '" + folder.string() + "' && '" VANTOR_SIM_PATH "' " + arguments +
                                " >'" + (folder / "stdout").string() + "' 2>'" + (folder / "stderr").string() + "'";
    const int status = std::system(command.c_str());
    CommandResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadWholeFile(folder / "stdout");
    result.err = ReadWholeFile(folder / "stderr");
    return result;
  }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(folder / name, std::ios::binary) << text;
  }

  fs::path folder;
};

TEST_F(SimCommand, RefusesABadScenarioWithItsLineAndPlaysNothing) {
  Write("bad.toml", "frames = 10\nevents = [\n  { at = 1, do = \"fly\" },\n]\n");
  const CommandResult result = Run("bad.toml --out out");
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("bad.toml:3: unknown action 'fly'"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("nothing was played"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(folder / "out" / "trace.txt"));
}

// Usage errors are 2 with the reason, never the option library's own numbers.
TEST_F(SimCommand, EveryUsageErrorExitsTwoWithItsReason) {
  const struct {
    const char* arguments;
    const char* reason;
  } cases[] = {
      {"missing.toml --out out", "missing.toml"},
      {"--settings missing.ini --out out", "missing.ini"},
      {"--bogus --out out", "--bogus"},
      {"--width wide --out out", "--width"},
      {"--set FOV --out out", "KEY=VALUE"},
      {"compare missing-a missing-b", "missing-a"},
  };
  for (const auto& c : cases) {
    const CommandResult result = Run(c.arguments);
    EXPECT_EQ(result.exitCode, 2) << c.arguments << "\n" << result.err;
    EXPECT_NE(result.err.find(c.reason), std::string::npos) << c.arguments << "\n" << result.err;
    EXPECT_FALSE(fs::exists(folder / "out")) << c.arguments;
  }
}

constexpr const char* ShortDrive = R"(frames = 40
view_mode = 4
events = [
  { at = 2, do = "enter", vehicle = "car" },
  { at = 10, do = "picture" },
]
[[vehicle]]
name = "car"
class = 4
)";

// A hand-written file plays byte for byte: a byte-order mark, CR LF and a last line without one.
TEST_F(SimCommand, PlaysAGivenSettingsFileByteForByteAndTellsHowItWasRead) {
  Write("short.toml", ShortDrive);
  const std::string handWritten = "\xEF\xBB\xBF[Settings]\r\nFOV = 85\r\nHeight_4=0,55\r\nDynamicFOV=true\r\nFOV=70";
  Write("my.ini", handWritten);
  const CommandResult result = Run("short.toml --settings my.ini --out run --no-plot");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(ReadWholeFile(folder / "run" / "Vantor.ini"), handWritten)
      << "the plugin did not save, so this is the start";
  const std::string report = ReadWholeFile(folder / "run" / "settings-read.txt");
  EXPECT_NE(report.find("line   2  \"FOV = 85\""), std::string::npos) << report;
  EXPECT_NE(report.find("Height_4=0  became  Height_4=0.3"), std::string::npos) << report;
  EXPECT_NE(result.out.find("settings-read.txt: 5 lines, 3 applied (1 read as 0), 2 did nothing"), std::string::npos)
      << result.out;
  // The camera sat at the height the report ends with.
  const std::string csv = ReadWholeFile(folder / "run" / "camera.csv");
  EXPECT_NE(csv.find(",height_above_seat\n"), std::string::npos);
  const float lastHeight = std::stof(csv.substr(csv.rfind(',') + 1));
  EXPECT_NEAR(lastHeight, 0.3f, 0.005f) << "eased from the class-1 height of 0.7 towards 0.3";
}

// --set lines come after the file, so they win; compare then tells the two runs apart.
TEST_F(SimCommand, SetOverridesTheFileAndCompareTellsTheRunsApart) {
  Write("short.toml", std::string("settings_file = \"FOV=90\\r\\nHeight=0.5\\r\\n\"\n") + ShortDrive);
  ASSERT_EQ(Run("short.toml --out wide --no-plot").exitCode, 0);
  const CommandResult narrow = Run("short.toml --out narrow --no-plot --set FOV=60 --set Height_4=0.8");
  ASSERT_EQ(narrow.exitCode, 0) << narrow.err;
  const std::string report = ReadWholeFile(folder / "narrow" / "settings-read.txt");
  EXPECT_NE(report.find("from the scenario, then 2 --set lines"), std::string::npos) << report;
  EXPECT_NE(report.find("\n  FOV=60\n"), std::string::npos) << report;
  EXPECT_NE(report.find("\n  Height_4=0.8\n"), std::string::npos) << report;

  const CommandResult compared = Run("compare wide narrow --out cmp");
  ASSERT_EQ(compared.exitCode, 0) << compared.out << compared.err;
  const std::string table = ReadWholeFile(folder / "cmp" / "compare.txt");
  EXPECT_EQ(compared.out.substr(0, table.size()), table);
  EXPECT_NE(table.find("largest field of view    90.00              60.00"), std::string::npos) << table;
  EXPECT_NE(table.find("height, class 4, m       0.50               0.80"), std::string::npos) << table;
  if (vantor_test::OnPath("gnuplot")) {
    EXPECT_TRUE(fs::is_regular_file(folder / "cmp" / "compare.png"));
  }
}

// Nothing the command did not make is deleted or overwritten; what it made goes before a new run.
TEST_F(SimCommand, KeepsForeignFilesAndClearsItsOwn) {
  Write("short.toml", ShortDrive);
  fs::create_directories(folder / "mine");
  Write("mine/Vantor.ini", "FOV=99\r\n");
  const CommandResult refused = Run("short.toml --out mine --no-plot");
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_NE(refused.err.find("(Vantor.ini)"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("--settings"), std::string::npos) << refused.err;
  EXPECT_EQ(ReadWholeFile(folder / "mine" / "Vantor.ini"), "FOV=99\r\n");
  EXPECT_FALSE(fs::exists(folder / "mine" / "trace.txt"));

  ASSERT_EQ(Run("short.toml --out run --no-plot -n 5").exitCode, 0);
  EXPECT_TRUE(fs::exists(folder / "run" / "pictures" / "frame-000035.png"));
  ASSERT_EQ(Run("short.toml --out run --no-plot").exitCode, 0) << "the folder of an earlier run is reused";
  EXPECT_FALSE(fs::exists(folder / "run" / "pictures" / "frame-000035.png")) << "no stale picture survives";
  EXPECT_TRUE(fs::exists(folder / "run" / "pictures" / "frame-000010.png"));

  // A file the run made but the user changed since is the user's now.
  std::ofstream(folder / "run" / "camera.csv", std::ios::app) << "my note\n";
  const CommandResult edited = Run("short.toml --out run --no-plot");
  EXPECT_EQ(edited.exitCode, 2);
  EXPECT_NE(edited.err.find("(camera.csv)"), std::string::npos) << edited.err;
  EXPECT_TRUE(fs::exists(folder / "run" / "trace.txt")) << "a refused folder is left as it is";
}

// The scenario is named relative to the caller's folder, though the run happens in --out.
TEST_F(SimCommand, PlaysAScenarioFileAndLeavesEveryOutput) {
  fs::create_directories(folder / "scenarios");
  Write("scenarios/short.toml", R"(name = "short"
frames = 30
settings_file = "FOV=90\r\n"
events = [
  { at = 2, do = "enter", vehicle = "car" },
  { at = 5, do = "picture" },
]
[[vehicle]]
name = "car"
)");
  const CommandResult result = Run("scenarios/short.toml --out run --frames-per-picture 10");
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  const fs::path out = folder / "run";
  for (const char* name : {"trace.txt", "camera.csv", "plot.dat", "plot.gp", "summary.txt", "scenario.toml"})
    EXPECT_TRUE(fs::is_regular_file(out / name)) << name;
  EXPECT_EQ(ReadWholeFile(out / "Vantor.ini"), "FOV=90\r\n") << "the run's settings file is in the output folder";
  EXPECT_EQ(ReadWholeFile(out / "scenario.toml"), ReadWholeFile(folder / "scenarios/short.toml"));

  const std::string csv = ReadWholeFile(out / "camera.csv");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 31) << "a header and one row a frame";
  EXPECT_EQ(csv.rfind("frame,time_s,", 0), 0u);
  const std::string trace = ReadWholeFile(out / "trace.txt");
  EXPECT_EQ(trace.rfind("0 DllMain(module, 1)\n", 0), 0u) << trace.substr(0, 80);

  EXPECT_NE(result.out.find("frames played:    30"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("pictures/: 4 pictures"), std::string::npos) << result.out;
  for (const char* picture : {"frame-000000.png", "frame-000005.png", "frame-000010.png", "frame-000020.png"})
    EXPECT_TRUE(fs::is_regular_file(out / "pictures" / picture)) << picture;
  EXPECT_EQ(ReadWholeFile(out / "summary.txt"), result.out.substr(0, ReadWholeFile(out / "summary.txt").size()));
}

TEST_F(SimCommand, TwoRunsOfTheBuiltInDriveWriteTheSameFiles) {
  const CommandResult first = Run("--out first --no-plot");
  const CommandResult second = Run("--out second --no-plot");
  ASSERT_EQ(first.exitCode, 0) << first.out << first.err;
  ASSERT_EQ(second.exitCode, 0) << second.out << second.err;
  for (const char* name : {"trace.txt", "camera.csv", "Vantor.ini"}) {
    const std::string a = ReadWholeFile(folder / "first" / name);
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_TRUE(a == ReadWholeFile(folder / "second" / name)) << name << " differs between two runs";
  }
  EXPECT_EQ(ReadWholeFile(folder / "first" / "scenario.toml"), std::string(sim::BuiltinDriveText()));
}

// The built-in drive is the example file, and it asks for every capability.
TEST(BuiltinDrive, IsTheExampleFileAndShowsEveryCapability) {
  EXPECT_EQ(std::string(sim::BuiltinDriveText()), ReadWholeFile(fs::path(VANTOR_SOURCE_DIR) / "scenarios/drive.toml"));
  sim::Scenario drive;
  std::string error;
  ASSERT_TRUE(sim::ParseScenario(std::string(sim::BuiltinDriveText()), "drive.toml", drive, error)) << error;
  const int64_t gameMs = static_cast<int64_t>(drive.frames) * drive.frameTimeMs;
  EXPECT_GE(gameMs, 50000);
  EXPECT_LE(gameMs, 70000);
  ASSERT_TRUE(drive.settingsFile.has_value());
  EXPECT_NE(drive.settingsFile->find("DynamicFOV=1"), std::string::npos);
  EXPECT_NE(drive.settingsFile->find("CornerLean=1"), std::string::npos);
  EXPECT_NE(drive.viewMode, sim::FirstPersonViewMode) << "first person must wait for V";

  int32_t vDown = -1, longestV = 0, keyPresses[256] = {};
  bool entered = false, left = false, lookedLeft = false, lookedRight = false, turned = false;
  for (const sim::ScenarioEvent& event : drive.events) {
    if (event.kind == sim::EventKind::KeyDown) ++keyPresses[event.key & 0xFF];
    if (event.kind == sim::EventKind::KeyDown && event.key == 0x56) vDown = event.frame;
    if (event.kind == sim::EventKind::KeyUp && event.key == 0x56 && vDown >= 0)
      longestV = std::max(longestV, (event.frame - vDown) * drive.frameTimeMs);
    entered = entered || (event.kind == sim::EventKind::Enter && event.seat == -1);
    left = left || event.kind == sim::EventKind::Leave;
    lookedLeft = lookedLeft || (event.kind == sim::EventKind::Look && event.lookX < 0.0f);
    lookedRight = lookedRight || (event.kind == sim::EventKind::Look && event.lookX > 0.0f);
    turned = turned || (event.kind == sim::EventKind::Drive && event.turnRate && *event.turnRate != 0.0f);
  }
  EXPECT_TRUE(entered && left && lookedLeft && lookedRight && turned);
  EXPECT_GE(keyPresses[0x56], 6) << "V round to first person, the hold to leave it, and round again";
  EXPECT_GT(longestV, 1000) << "V is held for over a second";
  EXPECT_EQ(keyPresses[0x75], 2) << "F6 opens and closes the menu";
  EXPECT_EQ(keyPresses[0x28], 5) << "Down to FOV, Height, and on to Save Settings (row 5)";
  EXPECT_EQ(keyPresses[0x27], 6) << "Right three times on FOV and on Height";
  EXPECT_EQ(keyPresses[0x0D], 1) << "Enter saves";
}

TEST(ExampleScenarios, EveryShippedFileReads) {
  int files = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(fs::path(VANTOR_SOURCE_DIR) / "scenarios")) {
    if (entry.path().extension() != ".toml") continue;
    sim::Scenario scenario;
    std::string error;
    EXPECT_TRUE(sim::LoadScenarioFile(entry.path().string(), scenario, error)) << error;
    ++files;
  }
  EXPECT_GE(files, 5);
}

}  // namespace
