// What every stand-in ScriptHookV does, whatever the platform: collects a native call's
// arguments, answers it from the world, traces it, and keeps the registered script.
// The platform hosts add only loading the plugin and switching to and from the script.
#pragma once

#include <cstdint>
#include <string>

#include "sim/core/native_table.h"
#include "sim/core/trace.h"
#include "sim/core/world.h"

namespace sim {

using ScriptEntry = void (*)();

struct ScriptHook {
  World world;
  Trace trace;
  bool tracing = true;

  // The call being assembled between nativeInit and nativeCall.
  int pendingNative = -1;
  uint64_t pendingHash = 0;
  bool callOpen = false;
  CallArguments pendingArguments{};
  CallResult lastResult{};

  void* module = nullptr;  // the handle the loader gave DllMain
  ScriptEntry script = nullptr;
  bool unregistered = false;
  int32_t waitsThisFrame = 0;
};

void HookNativeInit(ScriptHook& hook, uint64_t hash);
void HookNativePush(ScriptHook& hook, uint64_t value);
uint64_t* HookNativeCall(ScriptHook& hook);
void HookScriptRegister(ScriptHook& hook, void* module, ScriptEntry script);
void HookScriptUnregister(ScriptHook& hook, void* module);
// Records the wait; the platform host then switches back to itself.
void HookScriptWait(ScriptHook& hook, uint32_t milliseconds);
int16_t HookKeyState(ScriptHook& hook, int32_t virtualKey);
// Traced before the loader's call, so the calls made inside it follow it.
void HookDllMain(ScriptHook& hook, uint32_t reason);
// After DllMain attach returned `result`: a fault unless it returned 1 and registered a script.
// False when the load failed.
bool HookAttached(ScriptHook& hook, int32_t result);
// Whether the script can run a pass (registered, not unregistered, never returned); if so the
// world's frame begins.
bool HookBeginPass(ScriptHook& hook, bool scriptReturned);

// A fault of the plugin or of the host, kept in the world's error list.
void HookFault(ScriptHook& hook, const std::string& message);
bool HookFailed(const ScriptHook& hook);

}  // namespace sim
