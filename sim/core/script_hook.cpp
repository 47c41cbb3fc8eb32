#include "sim/core/script_hook.h"

#include <cstdio>

namespace sim {

namespace {

// A host call of one argument and an integer result into the trace, while tracing.
void TraceHostCall(ScriptHook& hook, HostCall call, uint64_t argument, int32_t result) {
  if (!hook.tracing) return;
  CallArguments arguments{};
  arguments.slots[0] = argument;
  arguments.count = 1;
  CallResult out{};
  SetResultInt(out, result);
  RecordCall(hook.trace, hook.world.frame, HostCallIndex(call), arguments, out);
}

uint64_t ModuleSlot(const ScriptHook& hook, void* module) {
  return module == hook.module ? ModuleToken : static_cast<uint64_t>(reinterpret_cast<uintptr_t>(module));
}

}  // namespace

void HookFault(ScriptHook& hook, const std::string& message) { hook.world.errors.push_back(message); }

bool HookFailed(const ScriptHook& hook) { return !hook.world.errors.empty(); }

void HookNativeInit(ScriptHook& hook, uint64_t hash) {
  if (hook.callOpen) HookFault(hook, "nativeInit while another call was being assembled");
  hook.callOpen = true;
  hook.pendingHash = hash;
  hook.pendingNative = FindNative(hash);
  hook.pendingArguments.count = 0;
  if (hook.pendingNative < 0) {
    char what[48];
    std::snprintf(what, sizeof what, "unknown native 0x%016llX", static_cast<unsigned long long>(hash));
    ReportFault(hook.world, what);
  }
}

void HookNativePush(ScriptHook& hook, uint64_t value) {
  if (!hook.callOpen) {
    HookFault(hook, "nativePush64 without nativeInit");
    return;
  }
  if (hook.pendingArguments.count == MaxArguments) {
    HookFault(hook, "more arguments than any native takes");
    return;
  }
  hook.pendingArguments.slots[hook.pendingArguments.count++] = value;
}

uint64_t* HookNativeCall(ScriptHook& hook) {
  if (!hook.callOpen) HookFault(hook, "nativeCall without nativeInit");
  hook.callOpen = false;
  // A fresh buffer of filler each call: a result read after the next call is garbage.
  hook.lastResult = {{~0ull, ~0ull, ~0ull}};
  if (hook.pendingNative >= 0) {
    DispatchNative(hook.world, hook.pendingNative, hook.pendingArguments, hook.lastResult);
    if (hook.tracing)
      RecordCall(hook.trace, hook.world.frame, hook.pendingNative, hook.pendingArguments, hook.lastResult);
  }
  return hook.lastResult.slots;
}

void HookScriptRegister(ScriptHook& hook, void* module, ScriptEntry script) {
  TraceHostCall(hook, HostCall::ScriptRegister, ModuleSlot(hook, module), 0);
  if (hook.script != nullptr) HookFault(hook, "scriptRegister called twice");
  if (module != hook.module) HookFault(hook, "scriptRegister with a module other than the loader's");
  hook.script = script;
}

void HookScriptUnregister(ScriptHook& hook, void* module) {
  TraceHostCall(hook, HostCall::ScriptUnregister, ModuleSlot(hook, module), 0);
  if (module != hook.module) HookFault(hook, "scriptUnregister with a module other than the loader's");
  hook.unregistered = true;
}

void HookScriptWait(ScriptHook& hook, uint32_t milliseconds) {
  TraceHostCall(hook, HostCall::ScriptWait, milliseconds, 0);
  ++hook.waitsThisFrame;
}

int16_t HookKeyState(ScriptHook& hook, int32_t virtualKey) {
  const int16_t state = PollKey(hook.world, virtualKey);
  TraceHostCall(hook, HostCall::GetAsyncKeyState, static_cast<uint32_t>(virtualKey), state);
  return state;
}

void HookDllMain(ScriptHook& hook, uint32_t reason) {
  if (!hook.tracing) return;
  CallArguments arguments{};
  arguments.slots[0] = ModuleToken;
  arguments.slots[1] = reason;
  arguments.count = 2;
  RecordCall(hook.trace, hook.world.frame, HostCallIndex(HostCall::DllMain), arguments, CallResult{});
}

bool HookAttached(ScriptHook& hook, int32_t result) {
  if (result != 1) HookFault(hook, "DllMain attach did not return 1");
  if (hook.script == nullptr) HookFault(hook, "DllMain attach registered no script");
  return !HookFailed(hook);
}

bool HookBeginPass(ScriptHook& hook, bool scriptReturned) {
  if (hook.script == nullptr || scriptReturned || hook.unregistered) return false;
  BeginFrame(hook.world);
  hook.waitsThisFrame = 0;
  return true;
}

}  // namespace sim
