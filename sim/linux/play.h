// Plays a scenario through the Linux stand-in: the run folder is the current directory.
#pragma once

#include <functional>
#include <string>

#include "sim/core/scenario.h"
#include "sim/linux/host.h"

namespace sim {

// Called after each frame's pass, before the world moves on.
using FrameObserver = std::function<void(const World& world, int32_t frame)>;

// Lays out the settings file, loads the plugin, plays every frame and unloads. False when the
// run failed; the reasons are in the world's errors.
bool PlayScenario(LinuxHost& host, const Scenario& scenario, const std::string& pluginPath,
                  const FrameObserver& observer = {});

}  // namespace sim
