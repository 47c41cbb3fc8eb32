#include "sim/web/host.h"

#include <cstdio>
#include <cstdlib>

// The plugin's entry point, linked into the module instead of loaded.
extern "C" int32_t DllMain(void* module, uint32_t reason, void* reserved);

namespace sim {

namespace {

constexpr size_t ScriptStackSize = 1 << 20;
// Asyncify saves the locals of every instrumented frame between the fiber's entry and the
// switch; the deepest such chain holds a few hundred bytes.
constexpr size_t UnwindStackSize = 1 << 14;
constexpr const char* LinkedPluginName = "Vantor (linked into the module)";

WebHost* activeHost = nullptr;

ScriptHook& ActiveHook() {
  if (activeHost == nullptr) {
    std::fputs("stand-in ScriptHookV: a plugin call arrived with no host running\n", stderr);
    std::abort();
  }
  return activeHost->hook;
}

void ScriptFiberEntry(void* parameter) {
  WebHost& host = *static_cast<WebHost*>(parameter);
  host.hook.script();
  // The script must never return; if it does, the run fails and the host takes over again.
  host.scriptReturned = true;
  HookFault(host.hook, "the script returned");
  emscripten_fiber_swap(&host.scriptFiber, &host.hostFiber);
}

}  // namespace

std::string DefaultPluginPath() { return LinkedPluginName; }

bool LoadPlugin(WebHost& host, const std::string&) {
  activeHost = &host;
  host.hook.module = &host;
  host.loaded = true;
  HookDllMain(host.hook, 1);
  return HookAttached(host.hook, DllMain(host.hook.module, 1, nullptr));
}

bool RunFrame(WebHost& host) {
  if (!HookBeginPass(host.hook, host.scriptReturned)) return false;
  activeHost = &host;
  if (!host.scriptStarted) {
    host.scriptStack.assign(ScriptStackSize, 0);
    host.hostUnwindStack.assign(UnwindStackSize, 0);
    host.scriptUnwindStack.assign(UnwindStackSize, 0);
    emscripten_fiber_init_from_current_context(&host.hostFiber, host.hostUnwindStack.data(),
                                               host.hostUnwindStack.size());
    emscripten_fiber_init(&host.scriptFiber, ScriptFiberEntry, &host, host.scriptStack.data(),
                          host.scriptStack.size(), host.scriptUnwindStack.data(), host.scriptUnwindStack.size());
    host.scriptStarted = true;
  }
  emscripten_fiber_swap(&host.hostFiber, &host.scriptFiber);
  return !HookFailed(host.hook);
}

void UnloadPlugin(WebHost& host) {
  if (!host.loaded) return;
  activeHost = &host;
  HookDllMain(host.hook, 0);
  if (DllMain(host.hook.module, 0, nullptr) != 1) HookFault(host.hook, "DllMain detach did not return 1");
  host.loaded = false;
  activeHost = nullptr;
}

}  // namespace sim

// The seven functions the plugin leaves undefined, resolved in the module from this host.
extern "C" {
void nativeInit(uint64_t hash) { sim::HookNativeInit(sim::ActiveHook(), hash); }
void nativePush64(uint64_t value) { sim::HookNativePush(sim::ActiveHook(), value); }
uint64_t* nativeCall() { return sim::HookNativeCall(sim::ActiveHook()); }
void scriptRegister(void* module, void (*script)()) { sim::HookScriptRegister(sim::ActiveHook(), module, script); }
void scriptUnregister(void* module) { sim::HookScriptUnregister(sim::ActiveHook(), module); }
void scriptWait(uint32_t milliseconds) {
  sim::HookScriptWait(sim::ActiveHook(), milliseconds);
  emscripten_fiber_swap(&sim::activeHost->scriptFiber, &sim::activeHost->hostFiber);
}
int16_t GetAsyncKeyState(int32_t virtualKey) { return sim::HookKeyState(sim::ActiveHook(), virtualKey); }
}
