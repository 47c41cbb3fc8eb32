// The stand-in ScriptHookV.dll: ScriptHookV's six exports (decorated names mapped in
// ScriptHookV.def), each forwarded to the host program through the bridge.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "sim/windows/hook_bridge.h"

namespace {

const sim::HookBridge* connectedHost = nullptr;

const sim::HookBridge& Host() {
  if (connectedHost == nullptr) {
    std::fputs("stand-in ScriptHookV.dll: a plugin call arrived with no host connected\n", stderr);
    std::abort();
  }
  return *connectedHost;
}

}  // namespace

extern "C" {

VANTOR_BRIDGE_API void ConnectScriptHookHost(const sim::HookBridge* bridge) { connectedHost = bridge; }

// Exported only through ScriptHookV.def, under the names the plugin imports.
void nativeInit(uint64_t hash) { Host().nativeInit(hash); }
void nativePush64(uint64_t value) { Host().nativePush64(value); }
uint64_t* nativeCall() { return Host().nativeCall(); }
void scriptRegister(void* module, void (*script)()) { Host().scriptRegister(module, script); }
void scriptUnregister(void* module) { Host().scriptUnregister(module); }
void scriptWait(uint32_t milliseconds) { Host().scriptWait(milliseconds); }

}
