// The one table of everything the plugin may call: each native's hash, name and argument
// kinds, and its answer from the world. The dispatcher and the trace printer both read it.
#pragma once

#include <cstdint>
#include <string_view>

#include "sim/core/world.h"

namespace sim {

// Argument kinds, one letter a slot: i int32, b boolean (0 or 1), f float, s text.
// Result kinds: n none, i int32, b boolean, f float, v Vector3, k a key state (16 bits, in hex).
constexpr int MaxArguments = 16;

struct CallArguments {
  uint64_t slots[MaxArguments];
  int count;
  int32_t Int(int index) const { return static_cast<int32_t>(static_cast<uint32_t>(slots[index])); }
  bool Bool(int index) const { return slots[index] != 0; }
  float Float(int index) const;
  const char* Text(int index) const { return reinterpret_cast<const char*>(static_cast<uintptr_t>(slots[index])); }
};

// The 24 bytes a native hands back. Only the low half of each slot carries the value;
// the upper halves hold filler so that a reader of the wrong width sees garbage.
struct CallResult {
  uint64_t slots[3];
};
constexpr uint32_t ResultFiller = 0xA5A5A5A5u;

using AnswerFunction = void (*)(World& world, const CallArguments& arguments, CallResult& result);

struct NativeEntry {
  uint64_t hash;  // 0 for the host's own functions, which are traced but not dispatched
  const char* name;
  const char* arguments;
  char result;
  AnswerFunction answer;
};

// Host functions, traced under these names with the same printer.
enum class HostCall : uint16_t { DllMain, ScriptRegister, ScriptUnregister, ScriptWait, GetAsyncKeyState, Count };

int NativeCount();
const NativeEntry& NativeAt(int index);
// The index of a native by hash, or -1 when the world does not know it.
int FindNative(uint64_t hash);
// The index of the entry describing a host call.
int HostCallIndex(HostCall call);
int FindNativeByName(std::string_view name);

void SetResultInt(CallResult& result, int32_t value);
void SetResultFloat(CallResult& result, float value);
void SetResultVector(CallResult& result, Vec3 value);
int32_t ResultAsInt(const CallResult& result);
float ResultAsFloat(const CallResult& result);
Vec3 ResultAsVector(const CallResult& result);

// Checks the arguments against the table (count, zero high halves, booleans 0 or 1, texts
// present), records any fault in the world, then answers. Returns false on a fault.
bool DispatchNative(World& world, int index, const CallArguments& arguments, CallResult& result);

}  // namespace sim
