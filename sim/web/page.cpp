// The page's calls into the module (page.js), as plain C exports over one session: the fonts the
// page draws with, the settings report of the bytes in the box, and a scenario played frame by
// frame with the plugin, its picture recorded as the painter's command list for the canvas.
//
// Calls that run the plugin switch fibers, and Asyncify then loses what an export returns: such
// calls return nothing, and the page asks for the outcome with the calls that do not.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "sim/cli/settings_report.h"
#include "sim/core/play.h"
#include "sim/core/trace.h"
#include "sim/render/embedded_fonts.h"
#include "sim/render/road.h"
#include "sim/render/scene.h"
#include "sim/render/screen_output.h"
#include "sim/scenario/scenario_file.h"
#include "sim/web/host.h"

namespace sim {

namespace {

enum class PageState : int32_t { Idle, Running, Ended, Failed };

constexpr int32_t InputSlots = 2;
constexpr char ReportSeparator = '\f';  // between the report's text and its line verdicts

struct PageSession {
  std::string inputs[InputSlots];  // bytes the page hands over before a call
  std::string output;              // the last call's text result

  std::unique_ptr<WebHost> host;
  Scenario scenario;
  std::vector<Road> roads;
  size_t cursor = 0;
  int32_t frame = 0;
  PageState state = PageState::Idle;
  std::optional<std::string> settingsSeen;  // Vantor.ini as last laid out or reported saved
  Painter painter;
};

PageSession page;

std::optional<std::string> ReadSettingsFile() {
  std::ifstream file(vantor::SettingsFileName, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void Record(const World& world, int32_t width, int32_t height) {
  page.painter.ops.clear();
  page.painter.numbers.clear();
  page.painter.texts.clear();
  DrawScene(page.painter, world, page.roads, width, height);
  DrawScreenOutput(page.painter, world.screen, NotificationsShown(world, page.frame, page.scenario.frameTimeMs),
                   width, height);
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
  std::string& input = page.inputs[slot == 1 ? 1 : 0];
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
  const std::optional<std::string> text = present ? std::optional<std::string>(page.inputs[0]) : std::nullopt;
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
  page.host = std::make_unique<sim::WebHost>();
  page.output.clear();
  page.cursor = 0;
  page.frame = 0;
  page.state = PageState::Failed;
  std::string error;
  if (!sim::ParseScenario(page.inputs[0], "the page's scenario", page.scenario, error)) {
    page.output = error;
    return;
  }
  if (withSettings) {
    page.scenario.settingsFile = page.inputs[1];
    page.scenario.settingsFileBlocked = false;
  }
  page.roads = sim::PlanRoads(page.scenario);
  page.settingsSeen = page.scenario.settingsFile;
  sim::World& world = page.host->hook.world;
  if (!sim::PrepareSettingsFile(page.scenario, error)) {
    page.output = error;
    return;
  }
  sim::SetUpWorld(world, page.scenario);
  if (sim::LoadPlugin(*page.host, sim::DefaultPluginPath())) page.state = PageState::Running;
  else for (const std::string& fault : page.host->hook.world.errors) page.output += fault + "\n";
}

// Plays up to `frames` frames and records the last one's picture at width x height.
EMSCRIPTEN_KEEPALIVE void vantor_play(int32_t frames, int32_t width, int32_t height) {
  if (page.state != PageState::Running) return;
  sim::World& world = page.host->hook.world;
  for (int32_t i = 0; i < frames && page.frame < page.scenario.frames; ++i) {
    sim::ApplyEvents(world, page.scenario, page.frame, page.cursor);
    if (!sim::RunFrame(*page.host)) {
      page.state = PageState::Failed;
      for (const std::string& fault : world.errors) page.output += fault + "\n";
      return;
    }
    if (i + 1 == frames || page.frame + 1 == page.scenario.frames) sim::Record(world, width, height);
    sim::AdvanceWorld(world, page.scenario.frameTimeMs);
    ++page.frame;
  }
  if (page.frame >= page.scenario.frames) sim::Stop();
}

EMSCRIPTEN_KEEPALIVE int32_t vantor_state() { return static_cast<int32_t>(page.state); }
EMSCRIPTEN_KEEPALIVE int32_t vantor_frame() { return page.frame; }

// Ends the run: the plugin unloaded, the trace kept.
EMSCRIPTEN_KEEPALIVE void vantor_stop() { sim::Stop(); }

// 1, with the file's bytes in the output, when Vantor.ini differs from when it was last laid out
// or reported: the plugin's menu saved it.
EMSCRIPTEN_KEEPALIVE int32_t vantor_settings_saved() {
  std::optional<std::string> now = sim::ReadSettingsFile();
  if (!now || now == page.settingsSeen) return 0;
  page.output = *now;
  page.settingsSeen = std::move(now);
  return 1;
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
