// The script's own stack, as ScriptHookV gives each script a fiber: the host enters it for one
// pass and the script's wait leaves it. A fresh fiber starts on the same memory each time; the
// one before is abandoned in its wait, as an unloaded script is.
#pragma once

#include <cstddef>
#include <memory>

#include <ucontext.h>

namespace vantor_fuzz {

using ScriptEntry = void (*)();

struct ScriptFiber {
  std::unique_ptr<char[]> stack;
  std::size_t stackSize = 0;
  ucontext_t hostContext{};
  ucontext_t scriptContext{};
  ScriptEntry script = nullptr;
  bool returned = false;  // the script ran off its end, which it must never do
  // AddressSanitizer's record of the two stacks, kept across switches.
  void* hostFakeStack = nullptr;
  void* scriptFakeStack = nullptr;
  const void* hostStackBottom = nullptr;
  std::size_t hostStackSize = 0;
};

// Sets up a fresh fiber that will run `script` from its start.
void StartFiber(ScriptFiber& fiber, ScriptEntry script);
// Runs the script until it leaves: by its wait, or by returning.
void EnterFiber(ScriptFiber& fiber);
// From the script: back to the host, to go on from here on the next entry.
void LeaveFiber(ScriptFiber& fiber);

}  // namespace vantor_fuzz
