#include "sim/linux/host.h"

#include <dlfcn.h>

#include <cstdio>

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/common_interface_defs.h>

#include "sim/linux/libc_swapcontext.h"
#endif

namespace sim {

namespace {

constexpr size_t ScriptStackSize = 1 << 20;

LinuxHost* activeHost = nullptr;

ScriptHook& ActiveHook() {
  if (activeHost == nullptr) {
    std::fputs("stand-in ScriptHookV: a plugin call arrived with no host running\n", stderr);
    std::abort();
  }
  return activeHost->hook;
}

// The switches between the host's stack and the script's. Under AddressSanitizer each one is
// announced, so that it checks every frame against the stack it runs on, and libc's own
// swapcontext is called: the sanitizer's stand-in for it cannot tell a switch between two live
// stacks from a fresh start, clears the shadow of the stack it goes to and warns.
#ifdef __SANITIZE_ADDRESS__
void EnterScript(LinuxHost& host) {
  __sanitizer_start_switch_fiber(&host.hostFakeStack, host.scriptStack.data(), host.scriptStack.size());
  LibcSwapContext()(&host.hostContext, &host.scriptContext);
  __sanitizer_finish_switch_fiber(host.hostFakeStack, nullptr, nullptr);
}

// The first thing the script's stack runs: the host's stack is the one to return to.
void ScriptStackEntered(LinuxHost& host) {
  __sanitizer_finish_switch_fiber(nullptr, &host.hostStackBottom, &host.hostStackSize);
}

// The script's frames stay live while it waits, so its fake stack (use-after-return checking)
// is kept. A script that waits for the last time is never told so: at unload its fake stack
// stays mapped, unused, until the process ends, and its stack's memory goes back to the heap
// with the host, where the allocator poisons it as freed.
void LeaveScript(LinuxHost& host) {
  __sanitizer_start_switch_fiber(&host.scriptFakeStack, host.hostStackBottom, host.hostStackSize);
  LibcSwapContext()(&host.scriptContext, &host.hostContext);
  __sanitizer_finish_switch_fiber(host.scriptFakeStack, &host.hostStackBottom, &host.hostStackSize);
}

// A script that returned never runs again: its fake stack goes now.
void LeaveScriptForGood(LinuxHost& host) {
  __sanitizer_start_switch_fiber(nullptr, host.hostStackBottom, host.hostStackSize);
  LibcSwapContext()(&host.scriptContext, &host.hostContext);
}
#else
void EnterScript(LinuxHost& host) { swapcontext(&host.hostContext, &host.scriptContext); }
void ScriptStackEntered(LinuxHost&) {}
void LeaveScript(LinuxHost& host) { swapcontext(&host.scriptContext, &host.hostContext); }
void LeaveScriptForGood(LinuxHost& host) { swapcontext(&host.scriptContext, &host.hostContext); }
#endif

void ScriptTrampoline() {
  LinuxHost& host = *activeHost;
  ScriptStackEntered(host);
  host.hook.script();
  // The script must never return; if it does, the run fails and the host takes over again.
  host.scriptReturned = true;
  HookFault(host.hook, "the script returned");
  LeaveScriptForGood(host);
}

}  // namespace

std::string DefaultPluginPath() {
#ifdef VANTOR_PLUGIN_PATH
  return VANTOR_PLUGIN_PATH;
#else
  return "libvantor.so";
#endif
}

bool LoadPlugin(LinuxHost& host, const std::string& path) {
  activeHost = &host;
  host.library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (host.library == nullptr) {
    HookFault(host.hook, std::string("cannot load the plugin: ") + dlerror());
    return false;
  }
  host.dllMain = reinterpret_cast<int32_t (*)(void*, uint32_t, void*)>(dlsym(host.library, "DllMain"));
  if (host.dllMain == nullptr) {
    HookFault(host.hook, "the plugin exports no DllMain");
    return false;
  }
  host.hook.module = host.library;
  HookDllMain(host.hook, 1);
  return HookAttached(host.hook, host.dllMain(host.hook.module, 1, nullptr));
}

bool RunFrame(LinuxHost& host) {
  if (!HookBeginPass(host.hook, host.scriptReturned)) return false;
  activeHost = &host;
  if (!host.scriptStarted) {
    host.scriptStack.assign(ScriptStackSize, 0);
    getcontext(&host.scriptContext);
    host.scriptContext.uc_stack.ss_sp = host.scriptStack.data();
    host.scriptContext.uc_stack.ss_size = host.scriptStack.size();
    host.scriptContext.uc_link = nullptr;
    makecontext(&host.scriptContext, ScriptTrampoline, 0);
    host.scriptStarted = true;
  }
  EnterScript(host);
  return !HookFailed(host.hook);
}

bool StepFrame(LinuxHost& host, int32_t frameTimeMs) {
  const bool ran = RunFrame(host);
  AdvanceWorld(host.hook.world, frameTimeMs);
  return ran;
}

void UnloadPlugin(LinuxHost& host) {
  if (host.library == nullptr) return;
  activeHost = &host;
  if (host.dllMain != nullptr) {
    HookDllMain(host.hook, 0);
    if (host.dllMain(host.hook.module, 0, nullptr) != 1) HookFault(host.hook, "DllMain detach did not return 1");
  }
  dlclose(host.library);
  host.library = nullptr;
  host.dllMain = nullptr;
  activeHost = nullptr;
}

}  // namespace sim

// The seven functions the plugin leaves undefined, resolved from this host.
extern "C" {
__attribute__((visibility("default"))) void nativeInit(uint64_t hash) { sim::HookNativeInit(sim::ActiveHook(), hash); }
__attribute__((visibility("default"))) void nativePush64(uint64_t value) {
  sim::HookNativePush(sim::ActiveHook(), value);
}
__attribute__((visibility("default"))) uint64_t* nativeCall() { return sim::HookNativeCall(sim::ActiveHook()); }
__attribute__((visibility("default"))) void scriptRegister(void* module, void (*script)()) {
  sim::HookScriptRegister(sim::ActiveHook(), module, script);
}
__attribute__((visibility("default"))) void scriptUnregister(void* module) {
  sim::HookScriptUnregister(sim::ActiveHook(), module);
}
__attribute__((visibility("default"))) void scriptWait(uint32_t milliseconds) {
  sim::HookScriptWait(sim::ActiveHook(), milliseconds);
  sim::LeaveScript(*sim::activeHost);
}
__attribute__((visibility("default"))) int16_t GetAsyncKeyState(int32_t virtualKey) {
  return sim::HookKeyState(sim::ActiveHook(), virtualKey);
}
}
