// The stand-in ScriptHookV on Windows: loads Vantor.asi with LoadLibrary (so the Windows
// loader runs its DllMain), takes over its GetAsyncKeyState import, and runs the registered
// script on a fiber, one pass per frame. The same record and steps as the Linux host.
#pragma once

#include <cstdint>
#include <string>

#include "sim/core/script_hook.h"
#include "sim/windows/import_patch.h"

namespace sim {

struct WindowsHost {
  ScriptHook hook;
  void* library = nullptr;      // the HMODULE LoadLibrary returned
  bool loading = false;         // inside LoadLibrary, where DllMain attach runs
  ImportPatch keyboard;         // the plugin's GetAsyncKeyState slot, pointed at the world
  void* hostFiber = nullptr;    // this thread, turned into a fiber on the first frame
  void* scriptFiber = nullptr;
  bool convertedThread = false;
  bool scriptReturned = false;
};

// Connects the stand-in DLL, LoadLibrary (DllMain attach), patches the keyboard import.
// On failure the reason is in the world's errors.
bool LoadPlugin(WindowsHost& host, const std::string& path);
// Runs the script until its next scriptWait: the first call runs start-up and the first pass.
bool RunFrame(WindowsHost& host);
// RunFrame, then the world moves on by frameTimeMs.
bool StepFrame(WindowsHost& host, int32_t frameTimeMs);
// FreeLibrary (DllMain detach); the script's fiber is deleted, never resumed.
void UnloadPlugin(WindowsHost& host);

}  // namespace sim
