// The page's calls into the module (page.js), as plain C exports over one session: the fonts the
// page draws with, the settings report of the bytes in the box, the live drive on the circuit
// (the live loop that the window's drive runs too) and, for the page's test, a scenario played
// frame by frame; the frame's picture recorded as the painter's command list for the canvas.
//
// Calls that run the plugin switch fibers, and Asyncify then loses what an export returns: such
// calls return nothing, and the page asks for the outcome with the calls that do not.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "sim/core/text_file.h"
#include "sim/cli/settings_report.h"
#include "sim/core/live_loop.h"
#include "sim/core/live_overlay.h"
#include "sim/core/play.h"
#include "sim/core/track.h"
#include "sim/core/trace.h"
#include "sim/render/embedded_fonts.h"
#include "sim/render/overlay.h"
#include "sim/render/road.h"
#include "sim/render/scene.h"
#include "sim/render/screen_output.h"
#include "sim/scenario/scenario_file.h"
#include "sim/scenario/scenario_record.h"
#include "sim/web/host.h"

namespace sim {

namespace {

enum class PageState : int32_t { Idle, Running, Ended, Failed };

constexpr int32_t InputSlots = 2;
constexpr char ReportSeparator = '\f';  // between the report's text and its line verdicts

struct PageSession {
  std::string slots[InputSlots];  // bytes the page hands over before a call
  std::string output;              // the last call's text result

  std::unique_ptr<WebHost> host;
  bool live = false;      // the live drive, or a scenario played
  LiveLoop loop;          // the live drive's
  LiveInputs liveInputs;  // gathered since the last frame started, for the next
  LivePacer pacer;
  Scenario scenario;      // the scenario played
  int32_t frameTimeMs = 0;
  std::vector<Road> roads;
  size_t cursor = 0;
  int32_t frame = 0;
  PageState state = PageState::Idle;
  std::optional<std::string> startSettings;  // Vantor.ini as the session started
  std::optional<std::string> settingsSeen;   // as last laid out or reported saved
  Painter painter;
  std::string status;  // the live drive's status lines over the last picture
};

PageSession page;

std::optional<std::string> ReadSettingsFile() {
  std::string bytes;
  if (!ReadWholeFile(vantor::SettingsFileName, bytes)) return std::nullopt;
  return bytes;
}

void Record(const World& world, int32_t width, int32_t height) {
  page.painter.ops.clear();
  page.painter.numbers.clear();
  page.painter.texts.clear();
  DrawFrame(page.painter, world, page.roads, NotificationsShown(world, page.frame, page.frameTimeMs), width, height);
}

// The run failed: the plugin unloaded as a run ends, the reasons in the output.
void Fail() {
  page.state = PageState::Failed;
  UnloadPlugin(*page.host);
  for (const std::string& fault : page.host->hook.world.errors) page.output += fault + "\n";
}

// The name the drive's recording gives a starting Vantor.ini that cannot be inside it.
constexpr const char* RecordedSettingsName = "vantor-drive-Vantor.ini";

// Starts a session: any running one stopped, a fresh host (the plugin's state lives on its
// script's stack, so a new fiber is a fresh plugin), the settings file laid out, the world set
// up, the plugin loaded.
void Start(const Scenario& scenario) {
  page.host = std::make_unique<WebHost>();
  page.output.clear();
  page.frame = 0;
  page.frameTimeMs = scenario.frameTimeMs;
  page.cursor = 0;
  page.pacer = LivePacer{};
  page.liveInputs = LiveInputs{};
  page.roads = PlanRoads(scenario);
  page.settingsSeen = page.startSettings = scenario.settingsFile;
  page.state = PageState::Running;
  if (!StartScenario(*page.host, scenario, DefaultPluginPath())) Fail();
}

void Stop() {
  if (page.host) UnloadPlugin(*page.host);
  if (page.state == PageState::Running) page.state = PageState::Ended;
}

}  // namespace

}  // namespace sim

using sim::page;
using sim::PageState;

extern "C" {

// Room for `size` bytes in input slot 0 or 1, for the page to fill before the call that reads them.
EMSCRIPTEN_KEEPALIVE char* vantor_input(int32_t slot, int32_t size) {
  std::string& input = page.slots[slot == 1 ? 1 : 0];
  input.assign(static_cast<size_t>(size < 0 ? 0 : size), '\0');
  return input.data();
}

EMSCRIPTEN_KEEPALIVE const char* vantor_output() { return page.output.data(); }
EMSCRIPTEN_KEEPALIVE int32_t vantor_output_size() { return static_cast<int32_t>(page.output.size()); }

// The font file the page draws PaintFont `font` with (0 sans, 1 condensed bold).
EMSCRIPTEN_KEEPALIVE const char* vantor_font(int32_t font) {
  return sim::EmbeddedFontFile(static_cast<sim::PaintFont>(font)).data();
}
EMSCRIPTEN_KEEPALIVE int32_t vantor_font_size(int32_t font) {
  return static_cast<int32_t>(sim::EmbeddedFontFile(static_cast<sim::PaintFont>(font)).size());
}

// The file a save of the plugin's defaults writes, for the page to start from.
EMSCRIPTEN_KEEPALIVE void vantor_default_settings() {
  page.output.resize(vantor::SettingsTextCapacity);
  page.output.resize(vantor::WriteSettingsText(vantor::Settings{}, page.output.data()));
}

// settings-read.txt for the bytes in slot 0 (no file at all unless `present`), then a form feed,
// then one line a line of the file: '!' or ' ' for its mark, then its verdict.
EMSCRIPTEN_KEEPALIVE void vantor_settings_report(int32_t present) {
  const std::optional<std::string> text = present ? std::optional<std::string>(page.slots[0]) : std::nullopt;
  const sim::SettingsReport report = sim::ReportSettings(text, "the page's Vantor.ini");
  page.output = report.text;
  page.output += sim::ReportSeparator;
  for (const sim::SettingsLineVerdict& line : report.lines)
    page.output.append(1, line.marked ? '!' : ' ').append(line.verdict).append(1, '\n');
}

// Starts the scenario whose TOML is in slot 0, with the bytes in slot 1 as its Vantor.ini when
// `withSettings` (the scenario's own otherwise): the settings file laid out, the world set up,
// the plugin loaded. Any scenario running is stopped first. vantor_state tells the outcome and
// the output holds the reasons of a failure.
EMSCRIPTEN_KEEPALIVE void vantor_play_start(int32_t withSettings) {
  sim::Stop();
  page.live = false;
  std::string error;
  if (!sim::ParseScenario(page.slots[0], "the page's scenario", page.scenario, error)) {
    page.state = PageState::Failed;
    page.output = error;
    return;
  }
  if (withSettings) {
    page.scenario.settingsFile = page.slots[1];
    page.scenario.settingsFileBlocked = false;
  }
  sim::Start(page.scenario);
}

// Plays up to `frames` frames and records the last one's picture at width x height.
EMSCRIPTEN_KEEPALIVE void vantor_play(int32_t frames, int32_t width, int32_t height) {
  if (page.state != PageState::Running || page.live) return;
  sim::World& world = page.host->hook.world;
  for (int32_t i = 0; i < frames && page.frame < page.scenario.frames; ++i) {
    sim::ApplyEvents(world, page.scenario, page.frame, page.cursor);
    if (!sim::RunFrame(*page.host)) {
      sim::Fail();
      return;
    }
    if (i + 1 == frames || page.frame + 1 == page.scenario.frames) sim::Record(world, width, height);
    sim::AdvanceWorld(world, page.scenario.frameTimeMs);
    ++page.frame;
  }
  if (page.frame >= page.scenario.frames) sim::Stop();
}

// The live drive on the circuit, from its start, with the bytes in slot 1 as Vantor.ini (no file
// unless `withSettings`): the page's counterpart of starting the game.
EMSCRIPTEN_KEEPALIVE void vantor_drive_start(int32_t withSettings) {
  sim::Stop();
  page.live = true;
  sim::Scenario start = sim::CircuitStart();
  start.settingsFile = withSettings ? std::optional<std::string>(page.slots[1]) : std::nullopt;
  sim::StartLive(page.loop, std::move(start));
  sim::Start(page.loop.start);
}

// A key going down or up since the last frame started; every transition reaches the next frame
// start, in order.
EMSCRIPTEN_KEEPALIVE void vantor_drive_key(int32_t virtualKey, int32_t down) {
  page.liveInputs.keys.push_back({virtualKey, down != 0});
}

// What the person holds as the next frame starts: the mouse's motion since the last start in
// pixels, the driver's throttle, brake (0 to 1) and steering (-1 to 1); and whether F was pressed.
EMSCRIPTEN_KEEPALIVE void vantor_drive_controls(double mouseX, double mouseY, double throttle, double brake,
                                                double steer, int32_t enterOrLeave) {
  page.liveInputs.lookX = std::clamp(static_cast<float>(mouseX) * sim::MouseLookPerPixel, -1.0f, 1.0f);
  page.liveInputs.lookY = std::clamp(static_cast<float>(mouseY) * sim::MouseLookPerPixel, -1.0f, 1.0f);
  page.liveInputs.motion = {static_cast<float>(throttle), static_cast<float>(brake), static_cast<float>(steer)};
  page.liveInputs.enterOrLeave = page.liveInputs.enterOrLeave || enterOrLeave != 0;
}

// The frames due at `nowMs` on the page's clock (all of them: pictures are skipped, never world
// steps); a paused drive starts counting again from where it stands.
EMSCRIPTEN_KEEPALIVE int32_t vantor_drive_frames_due(double nowMs, int32_t restart) {
  if (!page.live || page.state != PageState::Running) return 0;
  if (restart) page.pacer = sim::LivePacer{};
  return sim::FramesDue(page.pacer, nowMs, page.loop.frame, page.loop.start.frameTimeMs);
}

// Plays `frames` frames: the inputs gathered reach the first, the held ones every one; records
// the last one's picture at width x height with the drive's status over it.
EMSCRIPTEN_KEEPALIVE void vantor_drive_step(int32_t frames, int32_t width, int32_t height, double framesPerSecond,
                                            int32_t mouseFree) {
  if (!page.live || page.state != PageState::Running) return;
  for (int32_t i = 0; i < frames; ++i) {
    const bool last = i + 1 == frames;
    const sim::FrameObserver record = [&](const sim::World& world, int32_t frame) {
      page.frame = frame;
      if (last) sim::Record(world, width, height);
    };
    if (!sim::StepLive(*page.host, page.loop, page.liveInputs, last ? record : sim::FrameObserver{})) {
      sim::Fail();
      return;
    }
    page.liveInputs.keys.clear();
    page.liveInputs.lookX = page.liveInputs.lookY = 0.0f;
    page.liveInputs.enterOrLeave = false;
  }
  page.frame = page.loop.frame;
  // The window's status, its last line (the window's keys) in the page's words: the page lists the keys beside it.
  std::vector<std::string> status = sim::LiveStatusLines(page.host->hook.world, framesPerSecond, mouseFree != 0);
  status.back() = mouseFree ? "mouse free: click the view to drive and look" : "Esc frees the mouse";
  sim::DrawOverlay(page.painter, status, false, width, height);
  page.status.clear();
  for (const std::string& line : status) page.status += line + "\n";
}

// The status drawn over the last picture, as text for the page (the canvas's label).
EMSCRIPTEN_KEEPALIVE const char* vantor_drive_status() { return page.status.c_str(); }

// The drive since it started, as a scenario vantor-sim plays to the same trace: its TOML in the
// output; 0 when the starting Vantor.ini is not UTF-8 and cannot be inside it: the TOML then
// names vantor_drive_recorded_settings_name(), and vantor_drive_recorded_settings() gives its bytes.
EMSCRIPTEN_KEEPALIVE int32_t vantor_drive_recording() {
  if (!page.live) return 0;
  const sim::ScenarioText text = sim::WriteScenarioToml(sim::Recording(page.loop), sim::RecordedSettingsName);
  page.output = text.toml;
  return text.settingsBeside ? 0 : 1;
}
EMSCRIPTEN_KEEPALIVE const char* vantor_drive_recorded_settings_name() { return sim::RecordedSettingsName; }
EMSCRIPTEN_KEEPALIVE void vantor_drive_recorded_settings() {
  page.output = page.loop.start.settingsFile.value_or(std::string());
}

EMSCRIPTEN_KEEPALIVE int32_t vantor_state() { return static_cast<int32_t>(page.state); }
EMSCRIPTEN_KEEPALIVE int32_t vantor_frame() { return page.frame; }

// Ends the run: the plugin unloaded, the trace kept.
EMSCRIPTEN_KEEPALIVE void vantor_stop() { sim::Stop(); }

// With the file's bytes in the output, when Vantor.ini differs from when it was last laid out or
// reported (the plugin's menu saved it): 1, or 2 when the save left every class the same height
// while the file the session started from had heights per class; 0 when nothing was saved.
EMSCRIPTEN_KEEPALIVE int32_t vantor_settings_saved() {
  std::optional<std::string> now = sim::ReadSettingsFile();
  if (!now || now == page.settingsSeen) return 0;
  page.output = *now;
  page.settingsSeen = std::move(now);
  float height = 0.0f;
  return sim::HeightsFlattened(page.startSettings, page.output, height) ? 2 : 1;
}

// The run's trace, as trace.txt holds it.
EMSCRIPTEN_KEEPALIVE void vantor_trace() {
  page.output = page.host ? sim::FormatTrace(page.host->hook.trace) : std::string();
}

// How many numbers each kind of paint command takes, by its code; and how many kinds there are.
EMSCRIPTEN_KEEPALIVE const uint8_t* vantor_paint_numbers_per_op() { return sim::PaintOpNumbers; }
EMSCRIPTEN_KEEPALIVE int32_t vantor_paint_op_kinds() { return static_cast<int32_t>(sim::PaintOp::Count); }

// The last recorded picture: its commands, their numbers and the texts they point into.
EMSCRIPTEN_KEEPALIVE const uint8_t* vantor_paint_ops() { return page.painter.ops.data(); }
EMSCRIPTEN_KEEPALIVE int32_t vantor_paint_op_count() { return static_cast<int32_t>(page.painter.ops.size()); }
EMSCRIPTEN_KEEPALIVE const double* vantor_paint_numbers() { return page.painter.numbers.data(); }
EMSCRIPTEN_KEEPALIVE int32_t vantor_paint_number_count() { return static_cast<int32_t>(page.painter.numbers.size()); }
EMSCRIPTEN_KEEPALIVE const char* vantor_paint_texts() { return page.painter.texts.data(); }
EMSCRIPTEN_KEEPALIVE int32_t vantor_paint_texts_size() { return static_cast<int32_t>(page.painter.texts.size()); }

}  // extern "C"
