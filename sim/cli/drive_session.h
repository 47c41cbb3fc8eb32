// A live drive on Linux, whatever draws it: the starting settings and the output folder as a
// run has them, the circuit's starting world, the plugin through the Linux stand-in, one
// frame at a time for a front end, and at the end a run's files, the drive as a scenario, the
// settings to keep and the figures of its speed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "sim/cli/camera_log.h"
#include "sim/cli/run_outputs.h"
#include "sim/cli/summary.h"
#include "sim/core/live_loop.h"
#include "sim/linux/host.h"
#include "sim/render/road.h"
#include "sim/render/screen_png.h"

namespace sim {

constexpr int DefaultWindowWidth = 1280;
constexpr int DefaultWindowHeight = 720;
constexpr int MinWindowSide = 64;
constexpr int MaxWindowSide = 8192;
// Left out of the frame-time figures: the first frames pay for loading fonts and warming caches.
constexpr size_t WarmUpFrames = 60;

struct DriveOptions {
  std::string outFolder;              // made when missing; the drive's working folder
  std::string settingsPath;           // the starting Vantor.ini, byte for byte; empty: none
  std::vector<std::string> setLines;  // KEY=VALUE lines added to it
  std::string pluginPath;
  int width = DefaultWindowWidth;  // the picture's size as the drive starts
  int height = DefaultWindowHeight;
  std::string recordPath;     // also the drive as a scenario here; empty: only in the folder
  int32_t frames = 0;         // end after this many frames; 0: when the front end ends it
  int32_t screenshotAt = -1;  // a screenshot of this frame; -1: none
  bool plot = true;
};

struct DriveSession {
  DriveOptions options;
  std::unique_ptr<LinuxHost> host;
  LiveLoop loop;
  std::vector<Road> roads;
  ScreenPicture picture;  // the frame last drawn, at the size the front end sets
  std::vector<CameraSample> samples;
  RunSummary summary;
  SettingsReport settingsReport;
  Outcome outcome;
  OutFolderVisit outFolder;
  std::filesystem::path recordPath;
  bool failed = false;         // the plugin faulted
  std::vector<double> workMs;  // the work of each drawn frame, in milliseconds
  double playedSeconds = 0.0;  // real time from the first frame to the last
  int32_t screenshots = 0;
};

// Reads the settings, enters the output folder, loads the plugin and sets out the circuit. An
// exit code (run.h): ExitPlayed when the drive can start; otherwise nothing was played and the
// reason is on `err`.
int OpenDrive(DriveSession& session, const DriveOptions& options, std::ostream& err);

// Whether the drive has played all the frames it was asked to, or failed.
bool DriveOver(const DriveSession& session);

// Plays one frame with the person's inputs. When `draw`, or a screenshot is asked for this
// frame (`screenshot`, or --screenshot-at), the frame is drawn into session.picture as a run
// draws its pictures; a screenshot is then written as screenshot-NNNNNN.png. True when drawn.
bool StepDrive(DriveSession& session, const LiveInputs& inputs, bool draw, bool screenshot);

// Writes the outputs and the summary (also to `out`), leaves the folder and unloads the plugin.
// An exit code.
int CloseDrive(DriveSession& session, std::ostream& out, std::ostream& err);

// The value below which `share` (0 to 1) of the values lie; 0 for none.
double Percentile(std::vector<double> values, double share);

}  // namespace sim
