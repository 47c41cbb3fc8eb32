// A plugin that breaks two rules the host must catch rather than run through: it registers
// its script under the program's module handle instead of its own, and it does not import
// GetAsyncKeyState, so the host cannot script its keyboard.
#include <windows.h>

namespace {

using RegisterFunction = void (*)(HMODULE, void (*)());
using WaitFunction = void (*)(DWORD);

WaitFunction scriptWait = nullptr;

void ScriptMain() {
  for (;;) scriptWait(0);
}

// Found by name, as no import library is needed for a test module.
template <typename Function>
Function Export(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ScriptHookV.dll"), name)));
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    scriptWait = Export<WaitFunction>("?scriptWait@@YAXK@Z");
    const auto scriptRegister = Export<RegisterFunction>("?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z");
    if (scriptRegister != nullptr && scriptWait != nullptr) scriptRegister(GetModuleHandleA(nullptr), ScriptMain);
  }
  return TRUE;
}
