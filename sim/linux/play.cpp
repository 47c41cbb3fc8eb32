#include "sim/linux/play.h"

namespace sim {

namespace {

// A trace that grows by doubling is copied over and over; room for a busy run is reserved
// once instead (room never touched costs no memory). An active frame with the menu open
// makes some forty calls of about three arguments each.
constexpr size_t RecordsPerFrame = 48;
constexpr size_t ArgumentsPerRecord = 3;

}  // namespace

bool PlayScenario(LinuxHost& host, const Scenario& scenario, const std::string& pluginPath,
                  const FrameObserver& observer) {
  std::string error;
  if (!PrepareSettingsFile(scenario, error)) {
    HookFault(host.hook, error);
    return false;
  }
  World& world = host.hook.world;
  SetUpWorld(world, scenario);
  if (host.hook.tracing) {
    const size_t expectedRecords = static_cast<size_t>(scenario.frames) * RecordsPerFrame;
    host.hook.trace.records.reserve(host.hook.trace.records.size() + expectedRecords);
    host.hook.trace.arguments.reserve(host.hook.trace.arguments.size() + expectedRecords * ArgumentsPerRecord);
  }
  if (!LoadPlugin(host, pluginPath)) return false;
  size_t cursor = 0;
  for (int32_t frame = 0; frame < scenario.frames; ++frame) {
    ApplyEvents(world, scenario, frame, cursor);
    if (!RunFrame(host)) break;
    if (observer) observer(world, frame);
    AdvanceWorld(world, scenario.frameTimeMs);
  }
  UnloadPlugin(host);
  return !HookFailed(host.hook);
}

}  // namespace sim
