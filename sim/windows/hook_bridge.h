// The seam between the stand-in ScriptHookV.dll and the host program: the DLL only exports
// the six functions under ScriptHookV's names and forwards each to the host, which owns the
// world, the trace and the fibers. Plain C++: both sides include it.
#pragma once

#include <cstdint>

namespace sim {

struct HookBridge {
  void (*nativeInit)(uint64_t hash);
  void (*nativePush64)(uint64_t value);
  uint64_t* (*nativeCall)();
  void (*scriptRegister)(void* module, void (*script)());
  void (*scriptUnregister)(void* module);
  void (*scriptWait)(uint32_t milliseconds);
};

}  // namespace sim

#if defined(VANTOR_BUILDING_SCRIPTHOOKV)
#define VANTOR_BRIDGE_API __declspec(dllexport)
#else
#define VANTOR_BRIDGE_API __declspec(dllimport)
#endif

// The host connects before it loads the plugin; a call from the plugin without a host aborts.
extern "C" VANTOR_BRIDGE_API void ConnectScriptHookHost(const sim::HookBridge* bridge);
