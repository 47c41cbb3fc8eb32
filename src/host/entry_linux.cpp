// Entry point of libvantor.so: the loader contract of the Windows build, with C linkage.
#include <cstdint>

#include "host/script.h"

extern "C" __attribute__((visibility("default"))) int32_t DllMain(void* module, uint32_t reason, void*) {
  return vantor::HandleLoaderCall(module, reason);
}
