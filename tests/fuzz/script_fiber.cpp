#include "script_fiber.h"

#include "sim/linux/libc_swapcontext.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTOR_FUZZ_ASAN 1
#include <sanitizer/asan_interface.h>
#include <sanitizer/common_interface_defs.h>
#endif
#endif

namespace vantor_fuzz {

namespace {

constexpr std::size_t ScriptStackSize = 1 << 20;

ScriptFiber* running = nullptr;

#ifdef VANTOR_FUZZ_ASAN
// Each switch is announced, so that AddressSanitizer checks every frame against the stack it
// runs on, and libc's own swapcontext is called: the sanitizer's stand-in cannot tell a switch
// between two live stacks from a fresh start and clears the shadow of the stack it goes to.
void ForgetAbandonedFrames(ScriptFiber& fiber) { __asan_unpoison_memory_region(fiber.stack.get(), fiber.stackSize); }

void SwitchIn(ScriptFiber& fiber) {
  __sanitizer_start_switch_fiber(&fiber.hostFakeStack, fiber.stack.get(), fiber.stackSize);
  sim::LibcSwapContext()(&fiber.hostContext, &fiber.scriptContext);
  __sanitizer_finish_switch_fiber(fiber.hostFakeStack, nullptr, nullptr);
}

void Arrived(ScriptFiber& fiber) {
  __sanitizer_finish_switch_fiber(nullptr, &fiber.hostStackBottom, &fiber.hostStackSize);
}

void SwitchOut(ScriptFiber& fiber, bool forGood) {
  __sanitizer_start_switch_fiber(forGood ? nullptr : &fiber.scriptFakeStack, fiber.hostStackBottom,
                                 fiber.hostStackSize);
  sim::LibcSwapContext()(&fiber.scriptContext, &fiber.hostContext);
  __sanitizer_finish_switch_fiber(fiber.scriptFakeStack, &fiber.hostStackBottom, &fiber.hostStackSize);
}
#else
void ForgetAbandonedFrames(ScriptFiber&) {}
void SwitchIn(ScriptFiber& fiber) { swapcontext(&fiber.hostContext, &fiber.scriptContext); }
void Arrived(ScriptFiber&) {}
void SwitchOut(ScriptFiber& fiber, bool) { swapcontext(&fiber.scriptContext, &fiber.hostContext); }
#endif

void Trampoline() {
  ScriptFiber& fiber = *running;
  Arrived(fiber);
  fiber.script();
  fiber.returned = true;
  SwitchOut(fiber, true);
}

}  // namespace

void StartFiber(ScriptFiber& fiber, ScriptEntry script) {
  if (!fiber.stack) {
    fiber.stack = std::make_unique<char[]>(ScriptStackSize);
    fiber.stackSize = ScriptStackSize;
  }
  ForgetAbandonedFrames(fiber);
  fiber.script = script;
  fiber.returned = false;
  fiber.scriptFakeStack = nullptr;
  getcontext(&fiber.scriptContext);
  fiber.scriptContext.uc_stack.ss_sp = fiber.stack.get();
  fiber.scriptContext.uc_stack.ss_size = fiber.stackSize;
  fiber.scriptContext.uc_link = nullptr;
  makecontext(&fiber.scriptContext, Trampoline, 0);
}

void EnterFiber(ScriptFiber& fiber) {
  if (fiber.returned) return;
  running = &fiber;
  SwitchIn(fiber);
}

void LeaveFiber(ScriptFiber& fiber) { SwitchOut(fiber, false); }

}  // namespace vantor_fuzz
