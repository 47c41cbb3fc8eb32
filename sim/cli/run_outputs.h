// What a scripted run and a live drive share around playing: the starting settings file as
// the options give it, entering the output folder, the files written after the play, and the
// summary that closes the folder.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "sim/cli/camera_log.h"
#include "sim/cli/out_folder.h"
#include "sim/cli/settings_report.h"
#include "sim/core/scenario.h"
#include "sim/core/trace.h"

namespace sim {

constexpr const char* TraceFile = "trace.txt";
constexpr const char* CameraFile = "camera.csv";
constexpr const char* SummaryFile = "summary.txt";
constexpr const char* ScenarioCopyFile = "scenario.toml";
constexpr const char* SettingsFile = "Vantor.ini";
// The faults a failed run lists in its summary, first come first.
constexpr size_t ErrorsShown = 10;

// The files of a run, one line each for the summary; a file missed fails the run.
struct Outcome {
  bool failed = false;
  std::string files;
  void Wrote(const std::string& line) { files += "  " + line + "\n"; }
  void Missed(const std::string& line) {
    files += "  " + line + "\n";
    failed = true;
  }
};

// The scenario's settings file replaced or added to by --settings and --set, and the report of
// how the plugin reads it. False, with the reason, when they cannot apply (a usage error).
bool ComposeRunSettings(Scenario& scenario, const std::string& settingsPath, const std::vector<std::string>& setLines,
                        SettingsReport& report, std::string& error);

// The plugin's absolute path, resolved before the run moves into its folder. False, with the
// reason on `err`, when there is no file there.
bool FindPlugin(const std::string& pluginPath, std::filesystem::path& plugin, std::ostream& err);

// Enters the output folder (EnterOutFolder). An exit code (run.h) other than ExitPlayed, with
// the reason on `err`, when it cannot.
int EnterRunFolder(OutFolderVisit& visit, const std::filesystem::path& folder, std::ostream& err);

// In the output folder: settings-read.txt, told in `outcome`.
void WriteSettingsReport(const SettingsReport& report, Outcome& outcome);

// In the output folder: the trace, camera.csv, the plot (when asked for) and what became of
// Vantor.ini, each told in `outcome`.
void WriteOutputs(const Trace& trace, const Scenario& scenario, const std::vector<CameraSample>& samples, bool plot,
                  const std::string& title, Outcome& outcome);

// The first ErrorsShown faults, one indented line each, for the summary of a failed run.
std::string FirstFaults(const std::vector<std::string>& errors);

// Writes the summary and leaves the output folder (LeaveOutFolder). False when the summary is
// not on disk (an output missed).
bool CloseRunFolder(const std::string& summary, const OutFolderVisit& visit, std::ostream& err);

}  // namespace sim
