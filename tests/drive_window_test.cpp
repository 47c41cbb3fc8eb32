// vantor-sim drive as a person drives it: a virtual display of the test's own (Xvfb), keys
// typed into the window with xdotool, each down for several frames, and what the drive left
// checked by its states and traces, never by the frames the keys landed on.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

#include "sim/cli/run_outputs.h"
#include "sim/core/text_file.h"
#include "support.h"

namespace {

namespace fs = std::filesystem;
using vantor_test::OnPath;

constexpr auto KeyHeld = std::chrono::milliseconds(80);  // five frames of 16 ms
constexpr auto Pause = std::chrono::milliseconds(150);

class DriveWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("Xvfb") || !OnPath("xdotool"))
      GTEST_SKIP() << "Xvfb or xdotool missing (tools/install-deps installs them)";
    folder = vantor_test::MakeScratchFolder("vantor-drive-test");
    StartDisplay();
  }
  void TearDown() override {
    if (drive > 0) {
      kill(drive, SIGKILL);
      waitpid(drive, nullptr, 0);
    }
    if (display > 0) {
      kill(display, SIGTERM);
      waitpid(display, nullptr, 0);
    }
    if (!folder.empty()) vantor_test::RemoveScratchFolder(folder);
  }

  // Xvfb on the first free display, which it writes to the pipe (-displayfd).
  void StartDisplay() {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    display = fork();
    if (display == 0) {
      close(ends[0]);
      execlp("Xvfb", "Xvfb", "-displayfd", std::to_string(ends[1]).c_str(), "-screen", "0", "1280x800x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ends[1]);
    std::string number;
    char c;
    while (read(ends[0], &c, 1) == 1 && c != '\n') number += c;
    close(ends[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    displayName = ":" + number;
  }

  void StartDrive(const std::vector<std::string>& arguments) {
    drive = fork();
    if (drive == 0) {
      setenv("DISPLAY", displayName.c_str(), 1);
      // Under AddressSanitizer: the window's system libraries (D-Bus, which SDL opens for the
      // desktop session) keep allocations at exit that LeakSanitizer cannot trace to a caller.
      // The drive's own code is checked for leaks in process, by the live loop's suites.
      const char* sanitizer = std::getenv("ASAN_OPTIONS");
      setenv("ASAN_OPTIONS", (std::string(sanitizer != nullptr ? sanitizer : "") + ":detect_leaks=0").c_str(), 1);
      if (chdir(folder.c_str()) != 0 || !freopen("stdout", "w", stdout) || !freopen("stderr", "w", stderr)) _exit(126);
      std::vector<char*> argv{const_cast<char*>(VANTOR_SIM_PATH), const_cast<char*>("drive")};
      for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      execv(VANTOR_SIM_PATH, argv.data());
      _exit(127);
    }
    ASSERT_EQ(Xdotool("search --sync --name 'Vantor drive' windowfocus --sync"), 0) << "no window";
  }

  int Xdotool(const std::string& command) const {
    return std::system(("DISPLAY=" + displayName + " timeout 20 xdotool " + command + " >/dev/null").c_str());
  }
  void Down(const std::string& key) const { Xdotool("keydown " + key); }
  void Up(const std::string& key) const { Xdotool("keyup " + key); }
  void Press(const std::string& key) const {
    Down(key);
    std::this_thread::sleep_for(KeyHeld);
    Up(key);
    std::this_thread::sleep_for(Pause);
  }
  // Closing the window, as SDL hears it.
  int EndDrive() {
    kill(drive, SIGTERM);
    int status = 0;
    waitpid(drive, &status, 0);
    drive = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int Sim(const std::string& arguments) const {
    const std::string command =
        "cd '" + folder.string() + "' && '" VANTOR_SIM_PATH "' " + arguments + " >replay.out 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path folder;
  pid_t display = 0;
  pid_t drive = 0;
  std::string displayName;
};

// The rows of camera.csv whose `rendering` column names the camera.
int RowsRendering(const std::string& csv, const std::string& camera) {
  std::istringstream lines(csv);
  std::string header, line;
  std::getline(lines, header);
  int column = 0;
  for (size_t at = 0; at < header.find("rendering"); ++at) column += header[at] == ',' ? 1 : 0;
  int rows = 0;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string field;
    for (int i = 0; i <= column; ++i) std::getline(fields, field, ',');
    rows += field == camera ? 1 : 0;
  }
  return rows;
}

TEST_F(DriveWindow, GetInDriveComeRoundToFirstPersonAndTuneTheMenu) {
  StartDrive({"-o", "out", "--record", "drive.toml", "--window-size", "640x360", "--set", "Height_1=0.8", "--no-plot"});
  Press("f");  // into the car beside
  Down("w");
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  Press("d");
  Up("w");
  for (int press = 0; press < 2; ++press) Press("v");  // view 1 -> 2 -> 4: first person
  Press("F6");
  Press("Down");                                    // the FOV row
  Press("Right");                                   // 80 -> 82.5
  Press("Down");                                    // the Height row, the car's 0.8 on it
  Press("Right");                                   // 0.82, for every class
  for (int row = 0; row < 3; ++row) Press("Down");  // to Save Settings
  Press("Return");
  Press("F12");
  Xdotool("key --delay 0 v");  // a tap as short as typing makes it: often inside one frame
  std::this_thread::sleep_for(Pause);
  ASSERT_EQ(EndDrive(), 0) << sim::ReadWholeFile(folder / "stderr");

  const fs::path out = folder / "out";
  const std::string summary = sim::ReadWholeFile(out / "summary.txt");
  EXPECT_NE(summary.find("copy " + (out / "Vantor.ini").string()), std::string::npos) << summary;
  EXPECT_NE(summary.find("warning: every Height_ in it is 0.82"), std::string::npos)
      << "the menu's Height row set every class, the start had Height_1 apart:\n"
      << summary;
  EXPECT_NE(sim::ReadWholeFile(out / "Vantor.ini").find("FOV=82.5\r\n"), std::string::npos);
  EXPECT_GT(RowsRendering(sim::ReadWholeFile(out / "camera.csv"), "vantor"), 30) << "Vantor's camera rendered";
  EXPECT_GT(RowsRendering(sim::ReadWholeFile(out / "camera.csv"), "gameplay"), 30) << "the game's camera before V came round";
  const std::string trace = sim::ReadWholeFile(out / "trace.txt");
  EXPECT_NE(trace.find("AddTextComponentString(\"FOV: 82.5\")"), std::string::npos) << "the menu showed the value";
  EXPECT_NE(trace.find("SetCameraFov(12289, 82.4"), std::string::npos) << "the camera eased towards it";

  // The recording plays to the same trace, and the screenshot is the replay's picture of its frame.
  std::smatch shot;
  std::string names;
  for (const auto& entry : fs::directory_iterator(out)) names += entry.path().filename().string() + "\n";
  ASSERT_TRUE(std::regex_search(names, shot, std::regex("screenshot-(\\d{6})\\.png"))) << names;
  const int frame = std::stoi(shot[1]);
  ASSERT_EQ(Sim("drive.toml -o replay --no-plot --width 640 --height 360 -n " + std::to_string(frame)), 0)
      << sim::ReadWholeFile(folder / "replay.out");
  EXPECT_TRUE(sim::ReadWholeFile(folder / "replay" / "trace.txt") == trace) << "the replay's trace differs";
  char picture[64];
  std::snprintf(picture, sizeof picture, "pictures/frame-%06d.png", frame);
  EXPECT_TRUE(sim::ReadWholeFile(folder / "replay" / picture) == sim::ReadWholeFile(out / shot.str())) << "the screenshot differs";
}

TEST_F(DriveWindow, WithoutADisplayItSaysHowToGetOneAndPlaysNothing) {
  const std::string command = "cd '" + folder.string() +
                              "' && env -u DISPLAY -u WAYLAND_DISPLAY '" VANTOR_SIM_PATH
                              "' drive -o out >stdout 2>stderr";
  const int status = std::system(command.c_str());
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2);
  EXPECT_NE(sim::ReadWholeFile(folder / "stderr").find("xvfb-run"), std::string::npos) << sim::ReadWholeFile(folder / "stderr");
  EXPECT_FALSE(fs::exists(folder / "out"));
}

}  // namespace
