#include "sim/cli/run.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "sim/cli/builtin_drive.h"
#include "sim/cli/camera_log.h"
#include "sim/cli/contact_sheet.h"
#include "sim/cli/out_folder.h"
#include "sim/cli/picture.h"
#include "sim/cli/plot.h"
#include "sim/cli/run_outputs.h"
#include "sim/cli/settings_report.h"
#include "sim/cli/story.h"
#include "sim/cli/trace_file.h"
#include "sim/cli/video.h"
#include "sim/linux/play.h"
#include "sim/render/frame.h"
#include "sim/scenario/scenario_file.h"

namespace sim {

namespace fs = std::filesystem;

namespace {

constexpr const char* PictureFolder = "pictures";
constexpr const char* PicturePrefix = "frame-";
constexpr int32_t ProgressSteps = 20;
constexpr int32_t ProgressFromFrames = 5000;  // shorter runs end before a counter helps
constexpr size_t ErrorsShown = 10;

std::string PictureName(int32_t frame) {
  char name[64];
  std::snprintf(name, sizeof name, "%s/%s%06d.png", PictureFolder, PicturePrefix, static_cast<int>(frame));
  return name;
}

std::string FormatSeconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", seconds);
  return text;
}

std::vector<char> PictureFrames(const Scenario& scenario, int32_t framesPerPicture) {
  std::vector<char> wanted(static_cast<size_t>(scenario.frames), 0);
  for (const ScenarioEvent& event : scenario.events)
    if (event.kind == EventKind::Picture && event.frame < scenario.frames) wanted[static_cast<size_t>(event.frame)] = 1;
  if (framesPerPicture > 0)
    for (int32_t frame = 0; frame < scenario.frames; frame += framesPerPicture) wanted[static_cast<size_t>(frame)] = 1;
  return wanted;
}

std::string VideoStory(VideoOutcome outcome, const VideoRun& video, const std::string& path, int32_t from, int32_t to,
                       int32_t frameTimeMs) {
  char line[256];
  switch (outcome) {
    case VideoOutcome::Written:
      std::snprintf(line, sizeof line, "%s: frames %d to %d, %d x %d, %g frames a second (ffmpeg's messages in %s)",
                    path.c_str(), from, to, video.picture.width, video.picture.height, VideoFrameRate(frameTimeMs),
                    VideoLogFile);
      break;
    case VideoOutcome::NoFfmpeg:
      std::snprintf(line, sizeof line, "%s: skipped, ffmpeg is missing (install ffmpeg)", path.c_str());
      break;
    case VideoOutcome::Failed:
      if (from > to)
        std::snprintf(line, sizeof line, "%s: no frames between --from and --to", path.c_str());
      else
        std::snprintf(line, sizeof line, "%s: ffmpeg failed, see %s", path.c_str(), VideoLogFile);
      break;
  }
  return line;
}

}  // namespace

int RunSimulation(const SimOptions& options, std::ostream& out, std::ostream& err) {
  // Every input is read before the output folder is touched: it may lie in that folder.
  Scenario scenario;
  std::string error;
  const bool builtin = options.scenarioPath.empty();
  // Read once, so that the copy in the output folder is what was played.
  std::string scenarioText(builtin ? BuiltinDriveText() : std::string_view());
  if ((!builtin && !ReadScenarioFile(options.scenarioPath, scenarioText, error)) ||
      !ParseScenario(scenarioText, builtin ? BuiltinDriveOrigin : options.scenarioPath, scenario, error)) {
    err << "vantor-sim: " << error << "\nvantor-sim: the scenario is refused; nothing was played\n";
    return ExitUsage;
  }
  SettingsReport settingsReport;
  if (!ComposeRunSettings(scenario, options.settingsPath, options.setLines, settingsReport, error)) {
    err << "vantor-sim: " << error << "\n";
    return ExitUsage;
  }

  // Everything named on the command line is resolved before the run moves into its folder.
  std::error_code failure;
  const fs::path folder = fs::absolute(options.outFolder, failure);
  const fs::path plugin = fs::absolute(options.pluginPath, failure);
  const fs::path scenarioPath = builtin ? fs::path() : fs::absolute(options.scenarioPath, failure);
  if (!fs::is_regular_file(plugin, failure)) {
    err << "vantor-sim: no plugin at " << plugin.string() << " (build the vantor target, or give --plugin)\n";
    return ExitRunFailed;
  }
  fs::path previousFolder;
  if (const int entered = EnterOutFolder(folder, previousFolder, err); entered != ExitPlayed) return entered;

  Outcome outcome;
  if (!WriteWholeFile(ScenarioCopyFile, scenarioText)) outcome.Missed(std::string(ScenarioCopyFile) + ": cannot be written");
  if (WriteWholeFile(SettingsReportFile, settingsReport.text))
    outcome.Wrote(std::string(SettingsReportFile) + ": " + settingsReport.gist);
  else
    outcome.Missed(std::string(SettingsReportFile) + ": cannot be written");
  fs::create_directories(PictureFolder, failure);

  const std::string title = scenario.name.empty() ? (builtin ? "drive" : scenarioPath.stem().string()) : scenario.name;
  const std::vector<char> pictureFrames = PictureFrames(scenario, options.framesPerPicture);
  // The view stands on the roads, worked out beforehand, and only when something is drawn.
  const bool wantsVideo = !options.videoPath.empty();
  const bool drawsView = wantsVideo || std::find(pictureFrames.begin(), pictureFrames.end(), 1) != pictureFrames.end();
  const std::vector<Road> roads = drawsView ? PlanRoads(scenario) : std::vector<Road>{};
  ScreenPicture picture{options.pictureWidth, options.pictureHeight, {}};
  ContactSheet sheet;
  const int32_t videoFrom = std::max(0, options.videoFrom), videoTo = std::min(options.videoTo, scenario.frames - 1);
  const int32_t videoProgressStep = std::max(1, (videoTo - videoFrom) / ProgressSteps / 10);
  const std::string videoPath = wantsVideo ? fs::absolute(folder / options.videoPath, failure).string() : "";
  VideoRun video;
  VideoOutcome videoOutcome = VideoOutcome::Failed;
  if (wantsVideo && videoFrom <= videoTo)
    videoOutcome = StartVideo(video, videoPath, options.videoWidth, options.videoHeight, scenario.frameTimeMs);
  std::vector<CameraSample> samples;
  samples.reserve(static_cast<size_t>(scenario.frames));
  RunStory story;
  int32_t picturesWanted = 0, picturesWritten = 0, picturesFailed = 0;
  const int32_t progressStep = std::max(1, scenario.frames / ProgressSteps);
  const bool showProgress = options.showProgress && scenario.frames >= ProgressFromFrames;
  auto host = std::make_unique<LinuxHost>();

  const auto started = std::chrono::steady_clock::now();
  const bool played = PlayScenario(*host, scenario, plugin.string(), [&](const World& world, int32_t frame) {
    samples.push_back(SampleCamera(world, frame, scenario.frameTimeMs));
    NoteFrame(story, world, host->hook.trace, frame);
    if (pictureFrames[static_cast<size_t>(frame)] != 0) {
      ++picturesWanted;
      if (DrawFrame(world, roads, frame, scenario.frameTimeMs, picture) && WritePicturePng(picture, PictureName(frame))) {
        ++picturesWritten;
        AddToSheet(sheet, picture, "frame " + std::to_string(frame) + ", " + FormatSeconds(samples.back().timeSeconds),
                   DescribeFrame(world, samples.back(), scenario.frameTimeMs));
      } else {
        ++picturesFailed;
      }
    }
    if (video.pipe >= 0 && frame >= videoFrom && frame <= videoTo) {
      AddVideoFrame(video, world, roads, frame, scenario.frameTimeMs);
      if (options.showProgress && ((frame - videoFrom) % videoProgressStep == 0 || frame == videoTo))
        ShowProgress(out, "video", frame - videoFrom + 1, videoTo - videoFrom + 1);
    } else if (showProgress && frame % progressStep == 0) {
      out << "\rplaying frame " << frame << " of " << scenario.frames << std::flush;
    }
  });
  const double playSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (showProgress || (options.showProgress && wantsVideo)) out << "\r" << std::string(80, ' ') << "\r";
  if (video.child >= 0) videoOutcome = FinishVideo(video);

  WriteOutputs(host->hook.trace, scenario, samples, options.plot, title, outcome);
  if (picturesWanted == 0)
    outcome.Wrote(std::string(PictureFolder) + "/: no pictures asked for (picture events, --frames-per-picture)");
  else if (picturesFailed > 0)
    outcome.Missed(std::string(PictureFolder) + "/: " + std::to_string(picturesWritten) + " pictures written, " +
                   std::to_string(picturesFailed) + " failed");
  else
    outcome.Wrote(std::string(PictureFolder) + "/: " + std::to_string(picturesWritten) + " pictures, " +
                  PicturePrefix + "NNNNNN.png");
  if (picturesWritten > 0) {
    if (WriteContactSheet(sheet, title + ": " + std::to_string(picturesWritten) + " pictures", ContactSheetFile))
      outcome.Wrote(std::string(ContactSheetFile) + ": the pictures on one sheet");
    else
      outcome.Missed(std::string(ContactSheetFile) + ": cannot be written");
  }
  if (wantsVideo) {
    const std::string told = VideoStory(videoOutcome, video, options.videoPath, videoFrom, videoTo, scenario.frameTimeMs);
    videoOutcome == VideoOutcome::Failed ? outcome.Missed(told) : outcome.Wrote(told);
  }

  const World& world = host->hook.world;
  std::string summary = "Vantor simulator: " + title + ", " + std::to_string(scenario.frames) + " frames of " +
                        std::to_string(scenario.frameTimeMs) + " ms\n" + TellStory(story);
  summary += "files in " + folder.string() + ":\n" + outcome.files;
  summary += "  " + std::string(ScenarioCopyFile) + ", " + SummaryFile + ": the scenario played, this summary\n";
  if (!played) {
    summary += "the run FAILED:\n";
    for (size_t i = 0; i < world.errors.size() && i < ErrorsShown; ++i) summary += "  " + world.errors[i] + "\n";
    if (world.errors.size() > ErrorsShown)
      summary += "  ... and " + std::to_string(world.errors.size() - ErrorsShown) + " more\n";
  }

  const bool summaryWritten = CloseOutFolder(summary, folder, previousFolder, err);
  out << summary;
  char timing[96];
  std::snprintf(timing, sizeof timing, "played in %.3f s (%.0f frames a second)\n", playSeconds,
                playSeconds > 0.0 ? story.frames / playSeconds : 0.0);
  out << timing;
  if (!played) err << "vantor-sim: the run failed: " << (world.errors.empty() ? "" : world.errors.front()) << "\n";
  return played && !outcome.failed && summaryWritten ? ExitPlayed : ExitRunFailed;
}

}  // namespace sim
