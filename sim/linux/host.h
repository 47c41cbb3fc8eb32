// The stand-in ScriptHookV on Linux: loads libvantor.so with dlopen, calls its DllMain, and
// runs the registered script on its own ucontext stack, one pass per frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <ucontext.h>

#include "sim/core/script_hook.h"

namespace sim {

struct LinuxHost {
  ScriptHook hook;
  void* library = nullptr;
  int32_t (*dllMain)(void*, uint32_t, void*) = nullptr;
  ucontext_t hostContext{};
  ucontext_t scriptContext{};
  std::vector<char> scriptStack;
  bool scriptStarted = false;
  bool scriptReturned = false;
  // AddressSanitizer's record of the two stacks, kept across switches (unused without it).
  void* hostFakeStack = nullptr;
  void* scriptFakeStack = nullptr;
  const void* hostStackBottom = nullptr;
  size_t hostStackSize = 0;
};

// The plugin built beside the host, as the build system found it.
std::string DefaultPluginPath();

// dlopen and DllMain attach. On failure the reason is in the world's errors.
bool LoadPlugin(LinuxHost& host, const std::string& path);
// Runs the script until its next scriptWait: the first call runs start-up and the first pass.
bool RunFrame(LinuxHost& host);
// RunFrame, then the world moves on by frameTimeMs.
bool StepFrame(LinuxHost& host, int32_t frameTimeMs);
// DllMain detach and dlclose; the script's stack is abandoned, never resumed, and freed with
// the host.
void UnloadPlugin(LinuxHost& host);

}  // namespace sim
