// vantor-sim's video: ffmpeg makes it with the asked frames, size and rate; without ffmpeg the
// run says so and writes everything else; a size the encoder cannot take is refused.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support.h"

namespace {

namespace fs = std::filesystem;
using vantor_test::OnPath;
using vantor_test::ReadWholeFile;

constexpr const char* ShortDrive =
    "frames = 60\nframe_time_ms = 20\nevents = [\n"
    "  { at = 0, do = \"enter\", vehicle = \"car\" },\n"
    "  { at = 5, do = \"drive\", vehicle = \"car\", speed = 10.0 },\n"
    "  { at = 30, do = \"picture\" },\n]\n"
    "[[vehicle]]\nname = \"car\"\n";

class SimVideo : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = vantor_test::MakeScratchFolder("vantor-video-test");
    std::ofstream(folder / "short.toml", std::ios::binary) << ShortDrive;
  }
  void TearDown() override { vantor_test::RemoveScratchFolder(folder); }

  // Runs the command from `folder` on a scenario there, with `environment` before it; returns the exit code.
  int Run(const std::string& arguments, const std::string& environment = "", const std::string& scenario = "short.toml") const {
    const std::string command = "cd '" + folder.string() + "' && " + environment + " '" VANTOR_SIM_PATH "' " + scenario +
                                " --no-plot --out out " + arguments + " >'" + (folder / "stdout").string() + "' 2>'" + (folder / "stderr").string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // What ffprobe tells of a video in the output folder.
  std::string Probe(const std::string& name) const {
    const fs::path probe = folder / "probe.txt";
    const std::string command = "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                                "stream=width,height,r_frame_rate,nb_read_frames -of default=noprint_wrappers=1 '" +
                                (folder / "out" / name).string() + "' >'" + probe.string() + "'";
    return std::system(command.c_str()) == 0 ? ReadWholeFile(probe) : "";
  }
  std::string Out() const { return ReadWholeFile(folder / "stdout") + ReadWholeFile(folder / "stderr"); }

  fs::path folder;
};

TEST_F(SimVideo, HasTheAskedFramesSizeAndRate) {
  if (!OnPath("ffmpeg") || !OnPath("ffprobe")) GTEST_SKIP() << "ffmpeg is not installed";
  ASSERT_EQ(Run("--video drive.mp4 --video-size 320x180 --from 10 --to 39"), 0) << Out();
  EXPECT_NE(Out().find("drive.mp4: frames 10 to 39, 320 x 180, 50 frames a second"), std::string::npos) << Out();
  const std::string told = Probe("drive.mp4");
  EXPECT_NE(told.find("width=320\n"), std::string::npos) << told;
  EXPECT_NE(told.find("height=180\n"), std::string::npos) << told;
  EXPECT_NE(told.find("r_frame_rate=50/1\n"), std::string::npos) << told;
  EXPECT_NE(told.find("nb_read_frames=30\n"), std::string::npos) << told;

  // A timer that stands still has no frame rate of its own; the video still gets one.
  std::string still = ShortDrive;
  still.replace(still.find("frame_time_ms = 20"), 18, "frame_time_ms = 0");
  std::ofstream(folder / "still.toml", std::ios::binary) << still;
  ASSERT_EQ(Run("--video still.mp4 --video-size 320x180 --to 9", "", "still.toml"), 0) << Out();
  EXPECT_NE(Probe("still.mp4").find("nb_read_frames=10\n"), std::string::npos);
}

TEST_F(SimVideo, WithoutFfmpegTheRunSaysSoAndWritesEverythingElse) {
  ASSERT_EQ(Run("--video drive.mp4", "PATH=/nonexistent"), 0) << Out();
  EXPECT_NE(Out().find("drive.mp4: skipped, ffmpeg is missing"), std::string::npos) << Out();
  EXPECT_FALSE(fs::exists(folder / "out" / "drive.mp4"));
  for (const char* name : {"trace.txt", "camera.csv", "pictures/frame-000030.png", "pictures/overview.png"})
    EXPECT_TRUE(fs::exists(folder / "out" / name)) << name;
}

TEST_F(SimVideo, RefusesSizesTheEncoderCannotTake) {
  for (const char* size : {"321x180", "320x", "0x0", "99999x180", "320x180x2"})
    EXPECT_NE(Run(std::string("--video v.mp4 --video-size ") + size), 0) << size;
}

}  // namespace
