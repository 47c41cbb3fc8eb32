// The steps every stand-in host takes to play a scenario, in one order for all of them so that
// their traces can match: the settings file, the world, the plugin, then for each frame its
// events, the plugin's pass and the world's step, and the unload.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "sim/core/scenario.h"
#include "sim/core/script_hook.h"

namespace sim {

// Called after each frame's pass, before the world moves on.
using FrameObserver = std::function<void(const World& world, int32_t frame)>;

// A trace that grows by doubling is copied over and over; room for a busy run is reserved
// once instead (room never touched costs no memory). An active frame with the menu open
// makes some forty calls of about three arguments each.
constexpr size_t RecordsPerFrame = 48;
constexpr size_t ArgumentsPerRecord = 3;

// The settings file, the world and the plugin as a scenario starts, for PlayScenario and the
// live drive alike. False when the settings file cannot be laid out or the plugin did not
// load; the reasons are in the world's errors.
template <typename Host>
bool StartScenario(Host& host, const Scenario& scenario, const std::string& pluginPath) {
  std::string error;
  if (!PrepareSettingsFile(scenario, error)) {
    HookFault(host.hook, error);
    return false;
  }
  SetUpWorld(host.hook.world, scenario);
  if (host.hook.tracing) {
    const size_t expectedRecords = static_cast<size_t>(scenario.frames) * RecordsPerFrame;
    host.hook.trace.records.reserve(host.hook.trace.records.size() + expectedRecords);
    host.hook.trace.arguments.reserve(host.hook.trace.arguments.size() + expectedRecords * ArgumentsPerRecord);
  }
  return LoadPlugin(host, pluginPath);
}

// Host is a platform's stand-in with a `hook` and LoadPlugin, RunFrame and UnloadPlugin beside
// it. The run folder is the current directory. False when the run failed; the reasons are in
// the world's errors.
template <typename Host>
bool PlayScenario(Host& host, const Scenario& scenario, const std::string& pluginPath,
                  const FrameObserver& observer = {}) {
  World& world = host.hook.world;
  if (StartScenario(host, scenario, pluginPath)) {
    size_t cursor = 0;
    for (int32_t frame = 0; frame < scenario.frames; ++frame) {
      ApplyEvents(world, scenario, frame, cursor);
      if (!RunFrame(host)) break;
      if (observer) observer(world, frame);
      AdvanceWorld(world, scenario.frameTimeMs);
    }
  }
  UnloadPlugin(host);
  return !HookFailed(host.hook);
}

}  // namespace sim
