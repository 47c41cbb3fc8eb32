#include "sim/cli/run.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "sim/cli/builtin_drive.h"
#include "sim/cli/camera_log.h"
#include "sim/cli/contact_sheet.h"
#include "sim/cli/out_folder.h"
#include "sim/cli/picture.h"
#include "sim/cli/run_outputs.h"
#include "sim/cli/settings_report.h"
#include "sim/cli/summary.h"
#include "sim/cli/video.h"
#include "sim/core/text_file.h"
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

// What the video line of the file list says.
std::string VideoLine(VideoOutcome outcome, const VideoRun& video, const std::string& path, int32_t from, int32_t to,
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

// What a run reads before it touches the output folder: the inputs may lie in that folder.
struct RunInputs {
  Scenario scenario;
  std::string scenarioText;  // read once, so that the copy in the output folder is what was played
  SettingsReport settingsReport;
  fs::path folder;  // absolute, like the plugin: resolved before the run moves into the folder
  fs::path plugin;
  std::string title;  // the scenario's name, or its file's
};

// The scenario, the starting settings and the paths named on the command line. An exit code
// other than ExitPlayed, with the reason on `err`, when the run cannot start.
int ReadRunInputs(const SimOptions& options, RunInputs& inputs, std::ostream& err) {
  std::string error;
  const bool builtin = options.scenarioPath.empty();
  inputs.scenarioText = builtin ? BuiltinDriveText() : std::string_view();
  if ((!builtin && !ReadScenarioFile(options.scenarioPath, inputs.scenarioText, error)) ||
      !ParseScenario(inputs.scenarioText, builtin ? BuiltinDriveOrigin : options.scenarioPath, inputs.scenario,
                     error)) {
    err << "vantor-sim: " << error << "\nvantor-sim: the scenario is refused; nothing was played\n";
    return ExitUsage;
  }
  if (!ComposeRunSettings(inputs.scenario, options.settingsPath, options.setLines, inputs.settingsReport, error)) {
    err << "vantor-sim: " << error << "\n";
    return ExitUsage;
  }
  std::error_code failure;
  inputs.folder = fs::absolute(options.outFolder, failure);
  const fs::path scenarioPath = builtin ? fs::path() : fs::absolute(options.scenarioPath, failure);
  if (!FindPlugin(options.pluginPath, inputs.plugin, err)) return ExitRunFailed;
  const std::string& name = inputs.scenario.name;
  inputs.title = name.empty() ? (builtin ? "drive" : scenarioPath.stem().string()) : name;
  return ExitPlayed;
}

// In the output folder before the play: the scenario as played, how the plugin reads the
// starting settings, and the pictures' folder.
void WriteEarlyOutputs(const RunInputs& inputs, Outcome& outcome) {
  if (!WriteWholeFile(ScenarioCopyFile, inputs.scenarioText))
    outcome.Missed(std::string(ScenarioCopyFile) + ": cannot be written");
  WriteSettingsReport(inputs.settingsReport, outcome);
  std::error_code failure;
  fs::create_directories(PictureFolder, failure);
}

// The work of each frame besides the play: its camera sample and summary notes, the pictures
// asked for (each also on the contact sheet), the video's frames and the progress line.
struct FrameWork {
  // Set at the start.
  int32_t frames = 0;
  int32_t frameTimeMs = 0;
  std::vector<char> pictureFrames;  // 1 for each frame to take a picture of
  std::vector<Road> roads;          // the view stands on them; planned only when something is drawn
  bool wantsVideo = false;
  int32_t videoFrom = 0, videoTo = 0, videoProgressStep = 1;
  bool showVideoProgress = false;  // a bar for the video's frames, on a terminal
  bool showProgress = false;       // a frame counter, on a terminal and for long runs only
  int32_t progressStep = 1;
  // Carried from frame to frame.
  ScreenPicture picture;
  ContactSheet sheet;
  VideoRun video;
  VideoOutcome videoOutcome = VideoOutcome::Failed;
  std::vector<CameraSample> samples;
  RunSummary summary;
  int32_t picturesWanted = 0, picturesWritten = 0, picturesFailed = 0;
};

// Sets out the frames' work and starts ffmpeg when a video is asked for.
void StartFrameWork(FrameWork& work, const SimOptions& options, const RunInputs& inputs) {
  const Scenario& scenario = inputs.scenario;
  work.frames = scenario.frames;
  work.frameTimeMs = scenario.frameTimeMs;
  work.pictureFrames = PictureFrames(scenario, options.framesPerPicture);
  work.wantsVideo = !options.videoPath.empty();
  const bool drawsView =
      work.wantsVideo || std::find(work.pictureFrames.begin(), work.pictureFrames.end(), 1) != work.pictureFrames.end();
  if (drawsView) work.roads = PlanRoads(scenario);
  work.picture = ScreenPicture{options.pictureWidth, options.pictureHeight, {}};
  work.videoFrom = std::max(0, options.videoFrom);
  work.videoTo = std::min(options.videoTo, scenario.frames - 1);
  work.videoProgressStep = std::max(1, (work.videoTo - work.videoFrom) / ProgressSteps / 10);
  std::error_code failure;
  const std::string videoPath =
      work.wantsVideo ? fs::absolute(inputs.folder / options.videoPath, failure).string() : "";
  if (work.wantsVideo && work.videoFrom <= work.videoTo)
    work.videoOutcome = StartVideo(work.video, videoPath, options.videoWidth, options.videoHeight, work.frameTimeMs);
  work.samples.reserve(static_cast<size_t>(scenario.frames));
  work.showVideoProgress = options.showProgress;
  work.showProgress = options.showProgress && scenario.frames >= ProgressFromFrames;
  work.progressStep = std::max(1, scenario.frames / ProgressSteps);
}

void TakePicture(FrameWork& work, const World& world, int32_t frame) {
  ++work.picturesWanted;
  if (!DrawFrame(world, work.roads, frame, work.frameTimeMs, work.picture) ||
      !WritePicturePng(work.picture, PictureName(frame))) {
    ++work.picturesFailed;
    return;
  }
  ++work.picturesWritten;
  const CameraSample& sample = work.samples.back();
  AddToSheet(work.sheet, work.picture, "frame " + std::to_string(frame) + ", " + FormatSeconds(sample.timeSeconds),
             DescribeFrame(world, sample, work.frameTimeMs));
}

// One frame's work, after its pass; the progress goes to `out`.
void WorkFrame(FrameWork& work, const World& world, const Trace& trace, int32_t frame, std::ostream& out) {
  work.samples.push_back(SampleCamera(world, frame, work.frameTimeMs));
  NoteFrame(work.summary, world, trace, frame);
  if (work.pictureFrames[static_cast<size_t>(frame)] != 0) TakePicture(work, world, frame);
  if (VideoRunning(work.video) && frame >= work.videoFrom && frame <= work.videoTo) {
    AddVideoFrame(work.video, world, work.roads, frame, work.frameTimeMs);
    if (work.showVideoProgress && ((frame - work.videoFrom) % work.videoProgressStep == 0 || frame == work.videoTo))
      ShowProgress(out, "video", frame - work.videoFrom + 1, work.videoTo - work.videoFrom + 1);
  } else if (work.showProgress && frame % work.progressStep == 0) {
    out << "\rplaying frame " << frame << " of " << work.frames << std::flush;
  }
}

// Clears the progress line and waits for ffmpeg.
void EndFrameWork(FrameWork& work, std::ostream& out) {
  if (work.showProgress || (work.showVideoProgress && work.wantsVideo)) out << "\r" << std::string(80, ' ') << "\r";
  if (VideoRunning(work.video)) work.videoOutcome = FinishVideo(work.video);
}

// The pictures, the contact sheet and the video, each told in `outcome`.
void ReportFrameFiles(const FrameWork& work, const SimOptions& options, const std::string& title, Outcome& outcome) {
  if (work.picturesWanted == 0)
    outcome.Wrote(std::string(PictureFolder) + "/: no pictures asked for (picture events, --frames-per-picture)");
  else if (work.picturesFailed > 0)
    outcome.Missed(std::string(PictureFolder) + "/: " + std::to_string(work.picturesWritten) + " pictures written, " +
                   std::to_string(work.picturesFailed) + " failed");
  else
    outcome.Wrote(std::string(PictureFolder) + "/: " + std::to_string(work.picturesWritten) + " pictures, " +
                  PicturePrefix + "NNNNNN.png");
  if (work.picturesWritten > 0) {
    if (WriteContactSheet(work.sheet, title + ": " + std::to_string(work.picturesWritten) + " pictures",
                          ContactSheetFile))
      outcome.Wrote(std::string(ContactSheetFile) + ": the pictures on one sheet");
    else
      outcome.Missed(std::string(ContactSheetFile) + ": cannot be written");
  }
  if (work.wantsVideo) {
    const std::string line =
        VideoLine(work.videoOutcome, work.video, options.videoPath, work.videoFrom, work.videoTo, work.frameTimeMs);
    work.videoOutcome == VideoOutcome::Failed ? outcome.Missed(line) : outcome.Wrote(line);
  }
}

// summary.txt: the run's frames, its files and, when it failed, the first faults.
std::string SummaryOfRun(const RunInputs& inputs, const FrameWork& work, const Outcome& outcome, const World& world,
                         bool played) {
  std::string text = "Vantor simulator: " + inputs.title + ", " + std::to_string(inputs.scenario.frames) +
                     " frames of " + std::to_string(inputs.scenario.frameTimeMs) + " ms\n" + SummaryText(work.summary);
  text += "files in " + inputs.folder.string() + ":\n" + outcome.files;
  text += "  " + std::string(ScenarioCopyFile) + ", " + SummaryFile + ": the scenario played, this summary\n";
  if (played) return text;
  text += "the run FAILED:\n";
  text += FirstFaults(world.errors);
  if (world.errors.size() > ErrorsShown)
    text += "  ... and " + std::to_string(world.errors.size() - ErrorsShown) + " more\n";
  return text;
}

std::string PlayTiming(double playSeconds, int32_t frames) {
  char timing[96];
  std::snprintf(timing, sizeof timing, "played in %.3f s (%.0f frames a second)\n", playSeconds,
                playSeconds > 0.0 ? frames / playSeconds : 0.0);
  return timing;
}

}  // namespace

int RunSimulation(const SimOptions& options, std::ostream& out, std::ostream& err) {
  RunInputs inputs;
  if (const int read = ReadRunInputs(options, inputs, err); read != ExitPlayed) return read;
  OutFolderVisit visit;
  if (const int entered = EnterRunFolder(visit, inputs.folder, err); entered != ExitPlayed) return entered;
  Outcome outcome;
  WriteEarlyOutputs(inputs, outcome);

  FrameWork work;
  StartFrameWork(work, options, inputs);
  auto host = std::make_unique<LinuxHost>();
  const auto started = std::chrono::steady_clock::now();
  const bool played = PlayScenario(*host, inputs.scenario, inputs.plugin.string(),
                                   [&](const World& world, int32_t frame) {
                                     WorkFrame(work, world, host->hook.trace, frame, out);
                                   });
  const double playSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EndFrameWork(work, out);

  WriteOutputs(host->hook.trace, inputs.scenario, work.samples, options.plot, inputs.title, outcome);
  ReportFrameFiles(work, options, inputs.title, outcome);
  const World& world = host->hook.world;
  const std::string summary = SummaryOfRun(inputs, work, outcome, world, played);
  const bool summaryWritten = CloseRunFolder(summary, visit, err);
  out << summary << PlayTiming(playSeconds, work.summary.frames);
  if (!played) err << "vantor-sim: the run failed: " << (world.errors.empty() ? "" : world.errors.front()) << "\n";
  return played && !outcome.failed && summaryWritten ? ExitPlayed : ExitRunFailed;
}

}  // namespace sim
