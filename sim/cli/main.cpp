// vantor-sim: plays a scenario (or the built-in drive) through the stand-in ScriptHookV and
// writes the story of the drive: trace, camera CSV, pictures, plot, settings file, summary.
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include <CLI/CLI.hpp>

#include "sim/cli/compare.h"
#include "sim/cli/picture.h"
#include "sim/cli/run.h"
#include "sim/cli/video.h"
#include "sim/linux/host.h"

namespace {

constexpr const char* OutFolderName = "sim-out";
constexpr const char* CompareFolderName = "compare-out";

// Beside the build's own folders: build/linux/sim/vantor-sim writes to build/linux/sim-out.
std::string DefaultOutFolder(const char* name) {
  std::error_code failure;
  const std::filesystem::path binary = std::filesystem::read_symlink("/proc/self/exe", failure);
  if (failure) return name;
  return (binary.parent_path().parent_path() / name).string();
}

}  // namespace

int main(int argc, char** argv) {
  sim::SimOptions options;
  options.outFolder = DefaultOutFolder(OutFolderName);
  options.pluginPath = sim::DefaultPluginPath();
  options.pictureWidth = sim::DefaultPictureWidth;
  options.pictureHeight = sim::DefaultPictureHeight;
  bool noPlot = false;

  CLI::App app{"Plays a scenario of a drive through the Vantor plugin, without the game, and writes what the "
               "plugin did: trace.txt, camera.csv, pictures, plot.png, the Vantor.ini left behind and a summary. "
               "With no scenario it plays the built-in drive (scenarios/drive.toml).",
               "vantor-sim"};
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

  std::string videoSize = std::to_string(sim::DefaultVideoWidth) + "x" + std::to_string(sim::DefaultVideoHeight);
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

  sim::CompareOptions compare;
  compare.outFolder = DefaultOutFolder(CompareFolderName);
  CLI::App* compareCommand = app.add_subcommand(
      "compare", "Compares two runs' output folders: compare.png on shared axes and a table of figures");
  compareCommand->add_option("run_a", compare.runA, "The first run's output folder")->required()->check(CLI::ExistingDirectory);
  compareCommand->add_option("run_b", compare.runB, "The second run's output folder")->required()->check(CLI::ExistingDirectory);
  compareCommand->add_option("-o,--out", compare.outFolder, "Output folder, made when missing")->capture_default_str();

  // CLI11's own exit codes (105, 109, ...) are no business of the caller: every usage error is 2.
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& failure) {
    if (failure.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(failure);
    std::cerr << "vantor-sim: " << failure.what() << "\nvantor-sim: --help lists the options; nothing was played\n";
    return sim::ExitUsage;
  }
  if (*compareCommand) return sim::RunCompare(compare, std::cout, std::cerr);
  sim::ParseVideoSize(videoSize, options.videoWidth, options.videoHeight);

  options.plot = !noPlot;
  options.showProgress = isatty(STDOUT_FILENO) != 0;
  return sim::RunSimulation(options, std::cout, std::cerr);
}
