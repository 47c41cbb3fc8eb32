#include "sim/windows/play.h"

namespace sim {

bool PlayScenario(WindowsHost& host, const Scenario& scenario, const std::string& pluginPath) {
  std::string error;
  if (!PrepareSettingsFile(scenario, error)) {
    HookFault(host.hook, error);
    return false;
  }
  World& world = host.hook.world;
  SetUpWorld(world, scenario);
  if (LoadPlugin(host, pluginPath)) {
    size_t cursor = 0;
    for (int32_t frame = 0; frame < scenario.frames; ++frame) {
      ApplyEvents(world, scenario, frame, cursor);
      if (!RunFrame(host)) break;
      AdvanceWorld(world, scenario.frameTimeMs);
    }
  }
  UnloadPlugin(host);
  return !HookFailed(host.hook);
}

}  // namespace sim
