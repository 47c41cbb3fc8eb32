// One run of the simulator command: read the scenario, play it through the Linux stand-in in
// the output folder, and write what it produced there.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace sim {

struct SimOptions {
  std::string scenarioPath;      // empty: the built-in drive
  std::string settingsPath;      // the starting Vantor.ini, byte for byte; empty: the scenario's
  std::vector<std::string> setLines;  // KEY=VALUE lines added to the starting Vantor.ini
  std::string outFolder;         // made when missing; the run's working folder
  std::string pluginPath;        // libvantor.so
  int32_t framesPerPicture = 0;  // besides the scenario's own pictures; 0: none
  int pictureWidth = 0;
  int pictureHeight = 0;
  bool plot = true;
  std::string videoPath;         // empty: no video; relative: in the output folder
  int videoWidth = 0;
  int videoHeight = 0;
  int32_t videoFrom = 0;         // the first and last frames of the video
  int32_t videoTo = INT32_MAX;
  bool showProgress = false;     // a line counting frames, for a terminal
};

// Exit codes of the command (docs/simulator.md lists them).
constexpr int ExitPlayed = 0;
constexpr int ExitRunFailed = 1;  // the plugin faulted, or an output could not be written
// Nothing was played: a bad option or value, a missing or refused scenario or settings file,
// an output folder holding files the command did not make.
constexpr int ExitUsage = 2;

// Plays and writes the outputs; the summary goes to `out`, faults to `err`. Returns an exit code.
int RunSimulation(const SimOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sim
