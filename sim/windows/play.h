// Plays a scenario through the Windows stand-in: the run folder is the current directory.
// The same steps, in the same order, as the Linux player, so the two traces can match.
#pragma once

#include <string>

#include "sim/core/scenario.h"
#include "sim/windows/host.h"

namespace sim {

// Lays out the settings file, loads the plugin, plays every frame and unloads. False when the
// run failed; the reasons are in the world's errors.
bool PlayScenario(WindowsHost& host, const Scenario& scenario, const std::string& pluginPath);

}  // namespace sim
