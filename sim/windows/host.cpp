#include "sim/windows/host.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "sim/windows/hook_bridge.h"

namespace sim {

namespace {

constexpr SIZE_T ScriptStackSize = 1 << 20;
constexpr const char* KeyboardDll = "USER32.dll";
constexpr const char* KeyboardFunction = "GetAsyncKeyState";

WindowsHost* activeHost = nullptr;

WindowsHost& ActiveHost() {
  if (activeHost == nullptr) {
    std::fputs("stand-in ScriptHookV: a plugin call arrived with no host running\n", stderr);
    std::abort();
  }
  return *activeHost;
}

ScriptHook& ActiveHook() { return ActiveHost().hook; }

void BridgeNativeInit(uint64_t hash) { HookNativeInit(ActiveHook(), hash); }
void BridgeNativePush64(uint64_t value) { HookNativePush(ActiveHook(), value); }
uint64_t* BridgeNativeCall() { return HookNativeCall(ActiveHook()); }

void BridgeScriptRegister(void* module, void (*script)()) {
  WindowsHost& host = ActiveHost();
  // DllMain attach runs before LoadLibrary returns the handle; the module that holds the
  // registered function is the one the loader is attaching, so its handle stands in until
  // LoadLibrary's return confirms it.
  if (host.loading && host.hook.module == nullptr) {
    HMODULE owner = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(script), &owner))
      host.hook.module = owner;
  }
  HookScriptRegister(host.hook, module, script);
}

void BridgeScriptUnregister(void* module) { HookScriptUnregister(ActiveHook(), module); }

void BridgeScriptWait(uint32_t milliseconds) {
  WindowsHost& host = ActiveHost();
  HookScriptWait(host.hook, milliseconds);
  SwitchToFiber(host.hostFiber);
}

SHORT WINAPI HostGetAsyncKeyState(int virtualKey) { return HookKeyState(ActiveHook(), virtualKey); }

const HookBridge Bridge = {BridgeNativeInit,     BridgeNativePush64,     BridgeNativeCall,
                           BridgeScriptRegister, BridgeScriptUnregister, BridgeScriptWait};

void WINAPI ScriptFiberMain(void* parameter) {
  WindowsHost& host = *static_cast<WindowsHost*>(parameter);
  host.hook.script();
  // The script must never return; if it does the run fails. A fiber may not return either.
  host.scriptReturned = true;
  HookFault(host.hook, "the script returned");
  SwitchToFiber(host.hostFiber);
}

// LoadLibrary wants backslashes.
std::string WindowsPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace

bool LoadPlugin(WindowsHost& host, const std::string& path) {
  activeHost = &host;
  ConnectScriptHookHost(&Bridge);
  HookDllMain(host.hook, 1);
  host.loading = true;
  HMODULE module = LoadLibraryA(WindowsPath(path).c_str());
  host.loading = false;
  if (module == nullptr) {
    const DWORD error = GetLastError();
    HookFault(host.hook, error == ERROR_DLL_INIT_FAILED
                             ? std::string("DllMain attach did not return 1")
                             : "cannot load the plugin " + path + ": error " + std::to_string(error));
    return false;
  }
  host.library = module;
  if (host.hook.module == nullptr) host.hook.module = module;
  if (host.hook.module != module)
    HookFault(host.hook, "LoadLibrary returned a handle other than the module that registered the script");
  if (host.hook.script == nullptr) HookFault(host.hook, "DllMain attach registered no script");

  host.keyboard = ReplaceImport(module, KeyboardDll, KeyboardFunction, reinterpret_cast<void*>(HostGetAsyncKeyState));
  if (!host.keyboard.patched) HookFault(host.hook, "cannot take over the keyboard: " + host.keyboard.failure);
  return !HookFailed(host.hook);
}

bool RunFrame(WindowsHost& host) {
  if (!HookBeginPass(host.hook, host.scriptReturned)) return false;
  activeHost = &host;
  if (host.scriptFiber == nullptr) {
    host.hostFiber = ConvertThreadToFiber(nullptr);
    if (host.hostFiber == nullptr) {
      HookFault(host.hook, "ConvertThreadToFiber failed: error " + std::to_string(GetLastError()));
      return false;
    }
    host.convertedThread = true;
    host.scriptFiber = CreateFiber(ScriptStackSize, ScriptFiberMain, &host);
    if (host.scriptFiber == nullptr) {
      HookFault(host.hook, "CreateFiber failed: error " + std::to_string(GetLastError()));
      return false;
    }
  }
  SwitchToFiber(host.scriptFiber);
  return !HookFailed(host.hook);
}

bool StepFrame(WindowsHost& host, int32_t frameTimeMs) {
  const bool ran = RunFrame(host);
  AdvanceWorld(host.hook.world, frameTimeMs);
  return ran;
}

void UnloadPlugin(WindowsHost& host) {
  if (host.library == nullptr) return;
  activeHost = &host;
  HookDllMain(host.hook, 0);
  FreeLibrary(static_cast<HMODULE>(host.library));
  host.library = nullptr;
  host.keyboard = ImportPatch{};
  if (host.scriptFiber != nullptr) DeleteFiber(host.scriptFiber);
  host.scriptFiber = nullptr;
  if (host.convertedThread) ConvertFiberToThread();
  host.convertedThread = false;
  host.hostFiber = nullptr;
  ConnectScriptHookHost(nullptr);
  activeHost = nullptr;
}

}  // namespace sim
