// The seven functions the plugin imports: six from ScriptHookV, one from USER32.
// On Windows they come from the DLLs (the decorated ScriptHookV names are mapped in
// cmake/ScriptHookV.def); on Linux the loading host defines them with C linkage.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define VANTOR_IMPORT __declspec(dllimport)
#else
#define VANTOR_IMPORT
#endif

extern "C" {
VANTOR_IMPORT void nativeInit(uint64_t hash);
VANTOR_IMPORT void nativePush64(uint64_t value);
VANTOR_IMPORT uint64_t* nativeCall();
VANTOR_IMPORT void scriptRegister(void* module, void (*scriptMain)());
VANTOR_IMPORT void scriptUnregister(void* module);
VANTOR_IMPORT void scriptWait(uint32_t milliseconds);
#if defined(_WIN32)
// USER32 declares it as SHORT __stdcall GetAsyncKeyState(int); on x64 there is one convention.
VANTOR_IMPORT short GetAsyncKeyState(int virtualKey);
#else
int16_t GetAsyncKeyState(int32_t virtualKey);
#endif
}
