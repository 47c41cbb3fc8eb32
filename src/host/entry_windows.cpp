// Entry point of Vantor.asi, called by the Windows loader.
#include <windows.h>

#include "host/script.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  return vantor::HandleLoaderCall(module, reason);
}
