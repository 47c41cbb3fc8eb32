#include "sim/cli/run_outputs.h"

#include <algorithm>

#include "sim/cli/out_folder.h"
#include "sim/cli/plot.h"
#include "sim/cli/run.h"
#include "sim/cli/trace_file.h"
#include "sim/core/text_file.h"

namespace sim {

namespace fs = std::filesystem;

namespace {

// What became of Vantor.ini by the end of the run.
std::string SettingsFileFate(const Scenario& scenario) {
  std::error_code failure;
  if (scenario.settingsFileBlocked) return "a folder, as the scenario set it up: reading and saving fail";
  if (!fs::is_regular_file(SettingsFile, failure))
    return scenario.settingsFile ? "gone (it was there at the start)" : "none at the start, none written";
  const std::string after = ReadWholeFile(SettingsFile);
  const size_t lines = static_cast<size_t>(std::count(after.begin(), after.end(), '\n'));
  if (scenario.settingsFile && after == *scenario.settingsFile) return "unchanged from the start";
  return std::string(scenario.settingsFile ? "rewritten" : "written") + " by the run, " + std::to_string(lines) +
         " lines";
}

}  // namespace

bool ComposeRunSettings(Scenario& scenario, const std::string& settingsPath, const std::vector<std::string>& setLines,
                        SettingsReport& report, std::string& error) {
  const bool settingsGiven = !settingsPath.empty() || !setLines.empty();
  if (settingsGiven && scenario.settingsFileBlocked) {
    error = "the scenario puts a folder in the place of Vantor.ini; --settings and --set cannot apply";
    return false;
  }
  if (!ComposeStartingSettings(scenario.settingsFile, settingsPath, setLines, scenario.settingsFile, error))
    return false;
  std::string settingsOrigin =
      settingsPath.empty() ? (scenario.settingsFile ? "from the scenario" : "") : "from " + settingsPath;
  if (!setLines.empty())
    settingsOrigin += (settingsOrigin.empty() ? "" : ", then ") + std::to_string(setLines.size()) +
                      (setLines.size() == 1 ? " --set line" : " --set lines");
  report = ReportSettings(scenario.settingsFile, settingsOrigin);
  if (scenario.settingsFileBlocked)
    report.gist = "Vantor.ini is a folder, as the scenario set it up: the plugin keeps its defaults";
  return true;
}

bool FindPlugin(const std::string& pluginPath, fs::path& plugin, std::ostream& err) {
  std::error_code failure;
  plugin = fs::absolute(pluginPath, failure);
  if (fs::is_regular_file(plugin, failure)) return true;
  err << "vantor-sim: no plugin at " << plugin.string() << " (build the vantor target, or give --plugin)\n";
  return false;
}

int EnterRunFolder(OutFolderVisit& visit, const fs::path& folder, std::ostream& err) {
  std::string error;
  switch (EnterOutFolder(visit, folder, error)) {
    case FolderEntry::Entered:
      return ExitPlayed;
    case FolderEntry::Refused:
      err << "vantor-sim: " << error << "\nvantor-sim: nothing was played\n";
      return ExitUsage;
    case FolderEntry::CannotWork:
      break;
  }
  err << "vantor-sim: cannot work in the output folder " << folder.string() << ": " << error << "\n";
  return ExitRunFailed;
}

void WriteSettingsReport(const SettingsReport& report, Outcome& outcome) {
  if (WriteWholeFile(SettingsReportFile, report.text))
    outcome.Wrote(std::string(SettingsReportFile) + ": " + report.gist);
  else
    outcome.Missed(std::string(SettingsReportFile) + ": cannot be written");
}

void WriteOutputs(const Trace& trace, const Scenario& scenario, const std::vector<CameraSample>& samples, bool plot,
                  const std::string& title, Outcome& outcome) {
  // gnuplot draws on the other core while the trace is printed.
  PlotRun plotRun;
  if (plot) plotRun = StartPlot(samples, title);
  if (WriteTraceFile(trace, TraceFile))
    outcome.Wrote(std::string(TraceFile) + ": every call, " + std::to_string(trace.records.size()) + " lines");
  else
    outcome.Missed(std::string(TraceFile) + ": cannot be written");
  if (WriteCameraCsv(samples, CameraFile))
    outcome.Wrote(std::string(CameraFile) + ": the camera, one row a frame, " + std::to_string(samples.size()) +
                  " rows");
  else
    outcome.Missed(std::string(CameraFile) + ": cannot be written");
  if (plot) {
    switch (FinishPlot(plotRun)) {
      case PlotOutcome::Plotted:
        outcome.Wrote(std::string(PlotPictureFile) + ": field of view, yaw, look yaw and lean (from " + PlotScriptFile +
                      " and " + PlotDataFile + ")");
        break;
      case PlotOutcome::NoGnuplot:
        outcome.Wrote(std::string(PlotPictureFile) + ": skipped, gnuplot is missing (install gnuplot-nox; " +
                      PlotScriptFile + " and " + PlotDataFile + " are written)");
        break;
      case PlotOutcome::Failed:
        outcome.Missed(std::string(PlotPictureFile) + ": gnuplot failed on " + PlotScriptFile + ", see " + PlotLogFile);
        break;
    }
  }
  outcome.Wrote(std::string(SettingsFile) + ": " + SettingsFileFate(scenario));
}

std::string FirstFaults(const std::vector<std::string>& errors) {
  std::string text;
  for (size_t i = 0; i < errors.size() && i < ErrorsShown; ++i) text += "  " + errors[i] + "\n";
  return text;
}

bool CloseRunFolder(const std::string& summary, const OutFolderVisit& visit, std::ostream& err) {
  // A summary that is not on disk is an output missed, though it is printed.
  const bool summaryWritten = WriteWholeFile(SummaryFile, summary);
  if (!summaryWritten) err << "vantor-sim: cannot write " << SummaryFile << "\n";
  if (!LeaveOutFolder(visit)) err << "vantor-sim: cannot list the run's files in " << MadeFilesList << "\n";
  return summaryWritten;
}

}  // namespace sim
