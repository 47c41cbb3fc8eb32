// libc's own swapcontext, for stack switches that AddressSanitizer is told of: the sanitizer's
// stand-in for it cannot tell a switch between two live stacks from a fresh start, and clears
// the shadow of the stack it goes to.
#pragma once

#include <dlfcn.h>
#include <ucontext.h>

namespace sim {

using SwapContextFunction = int (*)(ucontext_t*, const ucontext_t*);

inline SwapContextFunction LibcSwapContext() {
  static const SwapContextFunction function = [] {
    void* libc = dlopen("libc.so.6", RTLD_NOW | RTLD_NOLOAD);
    void* symbol = libc != nullptr ? dlsym(libc, "swapcontext") : nullptr;
    return symbol != nullptr ? reinterpret_cast<SwapContextFunction>(symbol) : &swapcontext;
  }();
  return function;
}

}  // namespace sim
