// vantor-sim: plays a scenario (or the built-in drive) through the stand-in ScriptHookV and
// writes what became of the drive: trace, camera CSV, pictures, plot, settings file, summary.
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include <CLI/CLI.hpp>

#include "sim/cli/compare.h"
#include "sim/cli/picture.h"
#include "sim/cli/run.h"
#include "sim/cli/video.h"
#include "sim/linux/host.h"
#include "sim/sdl/drive_window.h"

namespace {

constexpr const char* OutFolderName = "sim-out";
constexpr const char* CompareFolderName = "compare-out";
constexpr const char* DriveFolderName = "drive-out";

// Beside the build's own folders: build/linux/sim/vantor-sim writes to build/linux/sim-out.
std::string DefaultOutFolder(const char* name) {
  std::error_code failure;
  const std::filesystem::path binary = std::filesystem::read_symlink("/proc/self/exe", failure);
  if (failure) return name;
  return (binary.parent_path().parent_path() / name).string();
}

// The drive subcommand's options, into `drive`; the window size and the plot flag as given.
CLI::App* AddDriveCommand(CLI::App& app, sim::DriveOptions& drive, std::string& windowSize, bool& noPlot) {
  CLI::App* driveCommand = app.add_subcommand(
      "drive", "Opens a window to drive the circuit yourself through the plugin: W/S/A/D, F to get in or out, the "
               "mouse to look, V for the game's views, F6 for Vantor's menu, F1 for every key. Closing the window "
               "writes a run's files and the drive as a scenario.");
  driveCommand->add_option("-o,--out", drive.outFolder, "Output folder, made when missing; the drive's working folder")
      ->capture_default_str();
  driveCommand->add_option("--settings", drive.settingsPath, "Start from this Vantor.ini, byte for byte")
      ->check(CLI::ExistingFile);
  driveCommand->add_option("--set", drive.setLines, "Add the line KEY=VALUE to the starting Vantor.ini (repeatable)")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  driveCommand->add_option("--plugin", drive.pluginPath, "The plugin to load")->capture_default_str();
  driveCommand->add_option("--window-size", windowSize, "The window's size in pixels, WIDTHxHEIGHT (it can be resized)")
      ->check([](const std::string& text) {
        int width = 0, height = 0;
        return sim::ParsePictureSize(text, sim::MinWindowSide, sim::MaxWindowSide, false, width, height)
                   ? std::string()
                   : "expected WIDTHxHEIGHT, " + std::to_string(sim::MinWindowSide) + " to " +
                         std::to_string(sim::MaxWindowSide);
      })
      ->capture_default_str();
  driveCommand->add_option("--record", drive.recordPath, "Also write the drive as a scenario to FILE.toml");
  driveCommand->add_option("--frames", drive.frames, "End after N frames")->check(CLI::PositiveNumber);
  driveCommand->add_option("--screenshot-at", drive.screenshotAt,
                           "Also a screenshot of frame N, screenshot-NNNNNN.png (F12 takes one of the frame shown)")
      ->check(CLI::NonNegativeNumber);
  driveCommand->add_flag("--no-plot", noPlot, "Skip the plot");
  return driveCommand;
}

// The run's own options, into `options`; the video size and the plot flag as given.
void AddRunOptions(CLI::App& app, sim::SimOptions& options, std::string& videoSize, bool& noPlot) {
  app.add_option("scenario", options.scenarioPath, "Scenario file (TOML); none: the built-in drive")
      ->check(CLI::ExistingFile);
  app.add_option("-o,--out", options.outFolder, "Output folder, made when missing; the run's working folder")
      ->capture_default_str();
  app.add_option("-n,--frames-per-picture", options.framesPerPicture,
                 "Also take a picture every N frames, from frame 0")
      ->check(CLI::PositiveNumber);
  app.add_option("--width", options.pictureWidth, "Picture width in pixels")
      ->check(CLI::Range(1, 16384))
      ->capture_default_str();
  app.add_option("--height", options.pictureHeight, "Picture height in pixels")
      ->check(CLI::Range(1, 16384))
      ->capture_default_str();
  app.add_option("--plugin", options.pluginPath, "The plugin to load")->capture_default_str();
  app.add_flag("--no-plot", noPlot, "Skip the plot");
  app.add_option("--settings", options.settingsPath,
                 "Start from this Vantor.ini, byte for byte (in place of the scenario's settings_file)")
      ->check(CLI::ExistingFile);
  app.add_option("--set", options.setLines, "Add the line KEY=VALUE to the starting Vantor.ini (repeatable; a "
                                            "later line wins)")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--video", options.videoPath,
                 "Also a video of the drive (MP4 made by ffmpeg); a relative path is in the output folder");
  app.add_option("--video-size", videoSize, "Video size in pixels, WIDTHxHEIGHT, both even")
      ->check([](const std::string& text) {
        int width = 0, height = 0;
        return sim::ParseVideoSize(text, width, height) ? std::string() : "expected WIDTHxHEIGHT, even, 16 to 4096";
      })
      ->capture_default_str();
  app.add_option("--from", options.videoFrom, "First frame of the video")->check(CLI::NonNegativeNumber);
  app.add_option("--to", options.videoTo, "Last frame of the video (default: the scenario's last)")
      ->check(CLI::NonNegativeNumber);
}

CLI::App* AddCompareCommand(CLI::App& app, sim::CompareOptions& compare) {
  CLI::App* compareCommand = app.add_subcommand(
      "compare", "Compares two runs' output folders: compare.png on shared axes and a table of figures");
  compareCommand->add_option("run_a", compare.runA, "The first run's output folder")->required()->check(CLI::ExistingDirectory);
  compareCommand->add_option("run_b", compare.runB, "The second run's output folder")->required()->check(CLI::ExistingDirectory);
  compareCommand->add_option("-o,--out", compare.outFolder, "Output folder, made when missing")->capture_default_str();
  return compareCommand;
}

}  // namespace

int main(int argc, char** argv) {
  sim::SimOptions options;
  options.outFolder = DefaultOutFolder(OutFolderName);
  options.pluginPath = sim::DefaultPluginPath();
  options.pictureWidth = sim::DefaultPictureWidth;
  options.pictureHeight = sim::DefaultPictureHeight;
  std::string videoSize = std::to_string(sim::DefaultVideoWidth) + "x" + std::to_string(sim::DefaultVideoHeight);
  bool noPlot = false;
  CLI::App app{"Plays a scenario of a drive through the Vantor plugin, without the game, and writes what the "
               "plugin did: trace.txt, camera.csv, pictures, plot.png, the Vantor.ini left behind and a summary. "
               "With no scenario it plays the built-in drive (scenarios/drive.toml).",
               "vantor-sim"};
  AddRunOptions(app, options, videoSize, noPlot);

  sim::CompareOptions compare;
  compare.outFolder = DefaultOutFolder(CompareFolderName);
  CLI::App* compareCommand = AddCompareCommand(app, compare);

  sim::DriveOptions drive;
  drive.outFolder = DefaultOutFolder(DriveFolderName);
  drive.pluginPath = options.pluginPath;
  std::string windowSize = std::to_string(drive.width) + "x" + std::to_string(drive.height);
  bool driveNoPlot = false;
  CLI::App* driveCommand = AddDriveCommand(app, drive, windowSize, driveNoPlot);

  // CLI11's own exit codes (105, 109, ...) are no business of the caller: every usage error is 2.
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& failure) {
    if (failure.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(failure);
    std::cerr << "vantor-sim: " << failure.what() << "\nvantor-sim: --help lists the options; nothing was played\n";
    return sim::ExitUsage;
  }
  if (*compareCommand) return sim::RunCompare(compare, std::cout, std::cerr);
  if (*driveCommand) {
    sim::ParsePictureSize(windowSize, sim::MinWindowSide, sim::MaxWindowSide, false, drive.width, drive.height);
    drive.plot = !driveNoPlot;
    return sim::RunDriveWindow(drive, std::cout, std::cerr);
  }
  sim::ParseVideoSize(videoSize, options.videoWidth, options.videoHeight);
  options.plot = !noPlot;
  options.showProgress = isatty(STDOUT_FILENO) != 0;
  return sim::RunSimulation(options, std::cout, std::cerr);
}
