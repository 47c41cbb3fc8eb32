// The whole plugin under libFuzzer. libvantor.so is loaded once, through the loader seam every
// host uses; each input attaches it again, plays its frames on a fresh script fiber against a
// game whose every answer comes from the input (fuzz_world), and detaches it. Every call, every
// pass and every save is checked (call_checks, settings_folder) beyond the sanitizers; a broken
// rule aborts with the frame and the call. VANTOR_FUZZ_TRACE=FILE writes each input's calls
// to FILE, in the simulator's trace form.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "call_checks.h"
#include "fuzz_input.h"
#include "fuzz_world.h"
#include "host/script.h"
#include "script_fiber.h"
#include "settings_folder.h"
#include "sim/core/script_hook.h"
#include "sim/core/trace.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTOR_FUZZ_COUNTS_ALLOCATIONS 1
#include <sanitizer/allocator_interface.h>
#endif
#endif

namespace vantor_fuzz {
namespace {

struct FuzzHost {
  sim::ScriptHook hook;  // call assembly, the script's registration, the trace
  int32_t (*dllMain)(void*, uint32_t, void*) = nullptr;
  ScriptFiber fiber;
  FuzzWorld world;
  CallChecks checks;
  FileMode fileMode = FileMode::Absent;
  const char* tracePath = nullptr;
  char folder[64] = {};
  // Heap allocations of the plugin's own code in the running pass; start-up ends at its first key poll.
  bool startedUp = false;
  int64_t allocations = 0;
  uint64_t passes = 0;
  uint64_t inputs = 0;
};

FuzzHost* host = nullptr;
// While the plugin's code runs on this thread; the fuzzer's own threads allocate as they please.
thread_local bool countingAllocations = false;

void WriteTrace() {
  if (host->tracePath == nullptr) return;
  if (std::FILE* file = std::fopen(host->tracePath, "wb")) {
    const std::string text = sim::FormatTrace(host->hook.trace);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

[[noreturn]] void Fail(const char* where, const char* what) {
  countingAllocations = false;
  std::fprintf(stderr, "plugin fuzz: frame %d: %s: %s\n", host->hook.world.frame, where, what);
  WriteTrace();
  std::abort();
}

void CheckHook() {
  if (!host->hook.world.errors.empty()) Fail("the hook", host->hook.world.errors.front().c_str());
}

// The host's own work is not the plugin's: no allocation of it counts.
class HostWork {
 public:
  HostWork() : counting_(countingAllocations) { countingAllocations = false; }
  ~HostWork() { countingAllocations = counting_; }
  HostWork(const HostWork&) = delete;
  HostWork& operator=(const HostWork&) = delete;

 private:
  bool counting_;
};

#ifdef VANTOR_FUZZ_COUNTS_ALLOCATIONS
void CountAllocation(const volatile void*, size_t) {
  if (countingAllocations) ++host->allocations;
}
void IgnoreFree(const volatile void*) {}
void WatchAllocations() { __sanitizer_install_malloc_and_free_hooks(CountAllocation, IgnoreFree); }
#else
void WatchAllocations() {}
#endif

void RunPass() {
  BeginPassChecks(host->checks);
  host->hook.waitsThisFrame = 0;
  host->allocations = 0;
  countingAllocations = true;
  EnterFiber(host->fiber);
  countingAllocations = false;
  ++host->passes;
  if (host->fiber.returned) Fail("the script", "returned");
  if (host->hook.waitsThisFrame != 1) Fail("the script", "a pass that did not end in one wait");
  if (const char* problem = CheckPassEnd(host->checks)) Fail("the pass", problem);
  if (host->allocations > 0 && host->checks.notice == SaveNotice::None)
    Fail("the pass", "a heap allocation in a pass that did not save");
  if (const char* problem = CheckSave(host->fileMode, host->checks.notice)) Fail("the save", problem);
}

void LoaderCall(uint32_t reason) {
  sim::HookDllMain(host->hook, reason);
  if (host->dllMain(host->hook.module, reason, nullptr) != 1) Fail("DllMain", "did not return 1");
  CheckHook();
}

void RunInput(const uint8_t* data, size_t size) {
  const InputParts input = SplitInput(data, size);
  host->fileMode = input.fileMode;
  PrepareSettingsFolder(input.fileMode, input.settings, input.settingsSize);
  ResetWorld(host->world);
  BeginAttachChecks(host->checks);
  sim::ScriptHook& hook = host->hook;
  hook.world.frame = 0;
  hook.script = nullptr;
  hook.unregistered = false;
  hook.trace = sim::Trace{};
  host->startedUp = false;
  ++host->inputs;

  LoaderCall(vantor::LoaderAttach);
  if (hook.script == nullptr) Fail("DllMain", "attach registered no script");
  StartFiber(host->fiber, hook.script);
  for (int32_t frame = 0; frame < input.frames; ++frame) {
    hook.world.frame = frame;
    ApplyRecord(host->world, input.records + static_cast<size_t>(frame) * RecordSize);
    RunPass();
  }
  BeginPassChecks(host->checks);
  LoaderCall(vantor::LoaderDetach);
  if (!hook.unregistered) Fail("DllMain", "detach left the script registered");
  if (const char* problem = CheckPassEnd(host->checks)) Fail("the detach", problem);
  WriteTrace();
}

void AtExit() {
  std::fprintf(stderr, "plugin fuzz: %llu passes in %llu inputs\n", static_cast<unsigned long long>(host->passes),
               static_cast<unsigned long long>(host->inputs));
  PrepareSettingsFolder(FileMode::Absent, nullptr, 0);
  if (chdir("/") == 0) rmdir(host->folder);
}

// A folder of this process's own, on tmpfs where there is one: the plugin reads and saves
// "Vantor.ini" in the current folder.
void EnterOwnFolder() {
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::snprintf(host->folder, sizeof host->folder, "%s/vantor-plugin-fuzz-XXXXXX", base);
  if (mkdtemp(host->folder) == nullptr || chdir(host->folder) != 0) {
    std::perror("plugin fuzz: no folder of its own");
    std::exit(1);
  }
}

void LoadPlugin() {
  const char* path = std::getenv("VANTOR_FUZZ_PLUGIN");
  void* library = dlopen(path != nullptr ? path : VANTOR_FUZZ_PLUGIN, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "plugin fuzz: cannot load the plugin: %s\n", dlerror());
    std::exit(1);
  }
  host->dllMain = reinterpret_cast<int32_t (*)(void*, uint32_t, void*)>(dlsym(library, "DllMain"));
  if (host->dllMain == nullptr) {
    std::fputs("plugin fuzz: the plugin exports no DllMain\n", stderr);
    std::exit(1);
  }
  host->hook.module = library;
}

}  // namespace
}  // namespace vantor_fuzz

using vantor_fuzz::host;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  host = new vantor_fuzz::FuzzHost;
  host->tracePath = std::getenv("VANTOR_FUZZ_TRACE");
  host->hook.tracing = host->tracePath != nullptr;
  vantor_fuzz::EnterOwnFolder();
  vantor_fuzz::LoadPlugin();
  vantor_fuzz::WatchAllocations();
  std::atexit(vantor_fuzz::AtExit);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vantor_fuzz::RunInput(data, size);
  return 0;
}

// The seven functions the plugin imports, answered by this host.
extern "C" {
__attribute__((visibility("default"))) void nativeInit(uint64_t hash) {
  const vantor_fuzz::HostWork work;
  sim::HookNativeInit(host->hook, hash);
  vantor_fuzz::CheckHook();
}

__attribute__((visibility("default"))) void nativePush64(uint64_t value) {
  const vantor_fuzz::HostWork work;
  sim::HookNativePush(host->hook, value);
  vantor_fuzz::CheckHook();
}

__attribute__((visibility("default"))) uint64_t* nativeCall() {
  const vantor_fuzz::HostWork work;
  sim::ScriptHook& hook = host->hook;
  if (!hook.callOpen) vantor_fuzz::Fail("nativeCall", "without nativeInit");
  hook.callOpen = false;
  const int index = hook.pendingNative;  // a known native: nativeInit failed the run otherwise
  const char* name = sim::NativeAt(index).name;
  if (const char* problem = vantor_fuzz::CheckCall(host->checks, index, hook.pendingArguments)) {
    if (hook.tracing) sim::RecordCall(hook.trace, hook.world.frame, index, hook.pendingArguments, sim::CallResult{});
    vantor_fuzz::Fail(name, problem);
  }
  hook.lastResult = {{~0ull, ~0ull, ~0ull}};
  vantor_fuzz::AnswerNative(host->world, index, hook.pendingArguments, hook.lastResult);
  vantor_fuzz::NoteAnswer(host->checks, index, hook.lastResult);
  if (hook.tracing) sim::RecordCall(hook.trace, hook.world.frame, index, hook.pendingArguments, hook.lastResult);
  return hook.lastResult.slots;
}

__attribute__((visibility("default"))) void scriptRegister(void* module, void (*script)()) {
  const vantor_fuzz::HostWork work;
  sim::HookScriptRegister(host->hook, module, script);
  vantor_fuzz::CheckHook();
}

__attribute__((visibility("default"))) void scriptUnregister(void* module) {
  const vantor_fuzz::HostWork work;
  sim::HookScriptUnregister(host->hook, module);
  vantor_fuzz::CheckHook();
}

// The pass ends here; the next entry of the fiber goes on from here.
__attribute__((visibility("default"))) void scriptWait(uint32_t milliseconds) {
  vantor_fuzz::countingAllocations = false;
  sim::HookScriptWait(host->hook, milliseconds);
  vantor_fuzz::LeaveFiber(host->fiber);
}

__attribute__((visibility("default"))) int16_t GetAsyncKeyState(int32_t virtualKey) {
  const vantor_fuzz::HostWork work;
  if (!host->startedUp) {
    host->startedUp = true;
    host->allocations = 0;
  }
  const int16_t state = vantor_fuzz::AnswerKey(host->world, virtualKey);
  if (host->hook.tracing) {
    sim::CallArguments arguments{};
    arguments.slots[0] = static_cast<uint32_t>(virtualKey);
    arguments.count = 1;
    sim::CallResult result{};
    sim::SetResultInt(result, state);
    sim::RecordCall(host->hook.trace, host->hook.world.frame, sim::HostCallIndex(sim::HostCall::GetAsyncKeyState),
                    arguments, result);
  }
  return state;
}
}
