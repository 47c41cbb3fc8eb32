#include "sim/linux/play.h"

namespace sim {

bool PlayScenario(LinuxHost& host, const Scenario& scenario, const std::string& pluginPath,
                  const FrameObserver& observer) {
  std::string error;
  if (!PrepareSettingsFile(scenario, error)) {
    HookFault(host.hook, error);
    return false;
  }
  World& world = host.hook.world;
  SetUpWorld(world, scenario);
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
