// The stand-in ScriptHookV in the browser and in node: the plugin is linked into the same
// WebAssembly module, its DllMain called directly, and its script runs on an emscripten fiber
// (Asyncify), one pass per frame. The same contract as the Linux host.
#pragma once

#include <emscripten/fiber.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/script_hook.h"

namespace sim {

struct WebHost {
  ScriptHook hook;
  bool loaded = false;
  emscripten_fiber_t hostFiber{};
  emscripten_fiber_t scriptFiber{};
  std::vector<char> scriptStack;       // the script's C stack
  std::vector<char> hostUnwindStack;   // where Asyncify keeps the host's frames while the script runs
  std::vector<char> scriptUnwindStack; // and the script's frames while it waits
  bool scriptStarted = false;
  bool scriptReturned = false;
};

// The plugin is part of the module: the name only stands for it in messages and tests.
std::string DefaultPluginPath();

// DllMain attach. On failure the reason is in the world's errors.
bool LoadPlugin(WebHost& host, const std::string& path);
// Runs the script until its next scriptWait: the first call runs start-up and the first pass.
bool RunFrame(WebHost& host);
// DllMain detach; the script's fiber is abandoned, never resumed, and freed with the host.
void UnloadPlugin(WebHost& host);

}  // namespace sim
