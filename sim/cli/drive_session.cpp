#include "sim/cli/drive_session.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "sim/cli/out_folder.h"
#include "sim/cli/picture.h"
#include "sim/cli/run.h"
#include "sim/core/text_file.h"
#include "sim/core/track.h"
#include "sim/render/frame.h"
#include "sim/scenario/scenario_record.h"

namespace sim {

namespace fs = std::filesystem;

namespace {

constexpr const char* DriveTitle = "drive";
constexpr const char* ScreenshotPrefix = "screenshot-";
constexpr const char* SettingsBesideSuffix = ".Vantor.ini";  // a starting file that TOML cannot carry

std::string ScreenshotName(int32_t frame) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%06d.png", ScreenshotPrefix, static_cast<int>(frame));
  return name;
}

// The scenario at `path`, and beside it the starting settings file when TOML cannot carry it.
bool WriteRecording(const Scenario& recording, const fs::path& path) {
  const std::string besideName = path.stem().string() + SettingsBesideSuffix;
  const ScenarioText text = WriteScenarioToml(recording, besideName);
  bool written = WriteWholeFile(path, text.toml);
  if (text.settingsBeside) written = WriteWholeFile(path.parent_path() / besideName, *text.settingsBeside) && written;
  return written;
}

// Which file keeps the drive's settings in the game, and whether the menu flattened the heights.
std::string SettingsToKeep(const std::optional<std::string>& start, const fs::path& folder) {
  std::error_code failure;
  const bool saved = fs::is_regular_file(SettingsFile, failure);
  const std::optional<std::string> after = saved ? std::optional<std::string>(ReadWholeFile(SettingsFile)) : std::nullopt;
  if (!after || after == start)
    return "settings: the menu did not save (its Save Settings row writes Vantor.ini), so the drive's changes are "
           "not kept; the game would start from " +
           std::string(start ? "the file the drive started from" : "the defaults") + "\n";
  std::string text = "settings: to keep the settings of this drive in the game, copy " +
                     (folder / SettingsFile).string() + " into the game's folder, beside Vantor.asi\n";
  if (float flat = 0.0f; HeightsFlattened(start, *after, flat)) {
    char height[32];
    std::snprintf(height, sizeof height, "%g", static_cast<double>(flat));
    text += std::string("  warning: every Height_ in it is ") + height +
            ", while the starting file had heights per vehicle class: the menu's Height row sets all 22 classes "
            "at once. Keep per-class heights with --set Height_N=VALUE (or in the file) and leave that row alone.\n";
  }
  return text;
}

std::string SpeedSummary(const DriveSession& session) {
  char text[320];
  const double frames = session.loop.frame, seconds = session.playedSeconds;
  std::snprintf(
      text, sizeof text,
      "speed: %d frames in %.1f s (%.1f a second; the world steps %.1f), %zu pictures drawn (%.1f a second)\n",
      session.loop.frame, seconds, seconds > 0.0 ? frames / seconds : 0.0,
      1000.0 / std::max(1, session.loop.start.frameTimeMs), session.workMs.size(),
      seconds > 0.0 ? session.workMs.size() / seconds : 0.0);
  std::string lines = text;
  if (session.workMs.size() > WarmUpFrames) {
    const std::vector<double> settled(session.workMs.begin() + WarmUpFrames, session.workMs.end());
    std::snprintf(text, sizeof text,
                  "  the work of a drawn frame (input, world step, plugin pass, drawing, upload, present): %.2f ms at "
                  "the 99th percentile, %.2f ms median (%zu frames; the first %zu left out)\n",
                  Percentile(settled, 0.99), Percentile(settled, 0.5), settled.size(), WarmUpFrames);
    lines += text;
  }
  return lines;
}

// A run's files, the screenshots and the drive as a scenario, each told in the session's outcome.
void WriteDriveFiles(DriveSession& session, const Scenario& recording) {
  Outcome& outcome = session.outcome;
  WriteOutputs(session.host->hook.trace, recording, session.samples, session.options.plot, DriveTitle, outcome);
  if (session.screenshots > 0)
    outcome.Wrote(std::string(ScreenshotPrefix) + "NNNNNN.png: " + std::to_string(session.screenshots) +
                  (session.screenshots == 1 ? " screenshot" : " screenshots"));
  // A scenario needs a frame; a drive that played none leaves nothing to play again.
  if (recording.frames == 0) return;
  if (!WriteRecording(recording, ScenarioCopyFile))
    outcome.Missed(std::string(ScenarioCopyFile) + ": cannot be written");
  if (session.recordPath.empty()) return;
  if (WriteRecording(recording, session.recordPath))
    outcome.Wrote(session.recordPath.string() + ": the drive as a scenario (vantor-sim plays it to the same trace)");
  else
    outcome.Missed(session.recordPath.string() + ": cannot be written");
}

// summary.txt: the drive's frames, its files, the settings to keep, its speed and, when it
// failed, the first faults.
std::string SummaryOfDrive(const DriveSession& session, const Scenario& recording, const World& world, bool played) {
  std::string text = "Vantor simulator: a live drive on the circuit, " + std::to_string(recording.frames) +
                     " frames of " + std::to_string(recording.frameTimeMs) + " ms\n" + SummaryText(session.summary);
  text += "files in " + session.outFolder.path.string() + ":\n" + session.outcome.files;
  text += "  " + std::string(ScenarioCopyFile) + ", " + SummaryFile +
          ": the drive as a scenario (vantor-sim plays it to the same trace), this summary\n";
  text += SettingsToKeep(recording.settingsFile, session.outFolder.path);
  text += SpeedSummary(session);
  if (played) return text;
  text += "the drive FAILED:\n";
  return text + FirstFaults(world.errors);
}

}  // namespace

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<size_t>(std::ceil(share * static_cast<double>(values.size())));
  return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

int OpenDrive(DriveSession& session, const DriveOptions& options, std::ostream& err) {
  session.options = options;
  Scenario start = CircuitStart();
  std::string error;
  if (!ComposeRunSettings(start, options.settingsPath, options.setLines, session.settingsReport, error)) {
    err << "vantor-sim: " << error << "\n";
    return ExitUsage;
  }
  // Everything named on the command line is resolved before the drive moves into its folder.
  std::error_code failure;
  const fs::path folder = fs::absolute(options.outFolder, failure);
  if (!options.recordPath.empty()) session.recordPath = fs::absolute(options.recordPath, failure);
  fs::path plugin;
  if (!FindPlugin(options.pluginPath, plugin, err)) return ExitRunFailed;
  if (const int entered = EnterRunFolder(session.outFolder, folder, err); entered != ExitPlayed) return entered;
  WriteSettingsReport(session.settingsReport, session.outcome);

  session.roads = PlanRoads(start);
  session.picture = {options.width, options.height, {}};
  session.host = std::make_unique<LinuxHost>();
  StartLive(session.loop, std::move(start));
  session.failed = !StartScenario(*session.host, session.loop.start, plugin.string());
  return ExitPlayed;
}

bool DriveOver(const DriveSession& session) {
  return session.failed || (session.options.frames > 0 && session.loop.frame >= session.options.frames);
}

bool StepDrive(DriveSession& session, const LiveInputs& inputs, bool draw, bool screenshot) {
  if (DriveOver(session)) return false;
  const int32_t frameTimeMs = session.loop.start.frameTimeMs;
  const bool shot = screenshot || session.loop.frame == session.options.screenshotAt;
  bool drawn = false;
  const bool played = StepLive(*session.host, session.loop, inputs, [&](const World& world, int32_t frame) {
    session.samples.push_back(SampleCamera(world, frame, frameTimeMs));
    NoteFrame(session.summary, world, session.host->hook.trace, frame);
    if (draw || shot) drawn = DrawFrame(world, session.roads, frame, frameTimeMs, session.picture);
    if (!shot) return;
    if (drawn && WritePicturePng(session.picture, ScreenshotName(frame)))
      ++session.screenshots;
    else
      session.outcome.Missed(ScreenshotName(frame) + ": cannot be drawn or written");
  });
  if (!played) session.failed = true;
  return drawn;
}

int CloseDrive(DriveSession& session, std::ostream& out, std::ostream& err) {
  LinuxHost& host = *session.host;
  UnloadPlugin(host);
  const bool played = !HookFailed(host.hook);
  const Scenario recording = Recording(session.loop);
  WriteDriveFiles(session, recording);
  const World& world = host.hook.world;
  const std::string summary = SummaryOfDrive(session, recording, world, played);
  const bool summaryWritten = CloseRunFolder(summary, session.outFolder, err);
  out << summary;
  if (!played) err << "vantor-sim: the drive failed: " << (world.errors.empty() ? "" : world.errors.front()) << "\n";
  return played && !session.outcome.failed && summaryWritten ? ExitPlayed : ExitRunFailed;
}

}  // namespace sim
