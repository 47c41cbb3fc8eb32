// The call protocol of ScriptHookV's natives: one hash, arguments pushed one 64-bit slot each,
// then the call; the result is read before the next call begins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "game/imports.h"

namespace vantor {

// Position and rotation results: three floats, each in its own 8-byte slot.
struct Vector3 {
  float x;
  uint32_t xFiller;
  float y;
  uint32_t yFiller;
  float z;
  uint32_t zFiller;
};
static_assert(sizeof(Vector3) == 24, "Vector3 is three 8-byte slots");
static_assert(offsetof(Vector3, y) == 8 && offsetof(Vector3, z) == 16, "Vector3 slot layout");
// A text argument travels in its slot as its address: on the game's platform a 64-bit pointer;
// the web build's WebAssembly has 32-bit ones, zero-extended in the slot.
#if defined(__wasm32__)
constexpr size_t PointerSize = 4;
#else
constexpr size_t PointerSize = 8;
#endif
static_assert(sizeof(uint64_t*) == PointerSize, "a pointer has the platform's size and fits a slot");

// Argument slots: 32-bit values zero-extended, floats as their bit pattern, text as a pointer.
inline uint64_t SlotFromInt(int32_t value) { return static_cast<uint64_t>(static_cast<uint32_t>(value)); }
inline uint64_t SlotFromBool(bool value) { return value ? 1u : 0u; }
inline uint64_t SlotFromFloat(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}
inline uint64_t SlotFromText(const char* text) { return reinterpret_cast<uintptr_t>(text); }

inline void PushArgument(int32_t value) { nativePush64(SlotFromInt(value)); }
inline void PushArgument(bool value) { nativePush64(SlotFromBool(value)); }
inline void PushArgument(float value) { nativePush64(SlotFromFloat(value)); }
inline void PushArgument(const char* text) { nativePush64(SlotFromText(text)); }

// Begins the call, pushes every argument first to last and performs it.
template <typename... Args>
const uint64_t* InvokeNative(uint64_t hash, Args... args) {
  nativeInit(hash);
  (PushArgument(args), ...);
  return nativeCall();
}

inline int32_t ResultInt(const uint64_t* result) {
  int32_t value;
  std::memcpy(&value, result, sizeof value);
  return value;
}
inline bool ResultBool(const uint64_t* result) { return ResultInt(result) != 0; }
inline float ResultFloat(const uint64_t* result) {
  float value;
  std::memcpy(&value, result, sizeof value);
  return value;
}
inline Vector3 ResultVector3(const uint64_t* result) {
  Vector3 value;
  std::memcpy(&value, result, sizeof value);
  return value;
}

}  // namespace vantor
