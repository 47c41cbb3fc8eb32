// A float's bits and the float of given bits, as traces and native results carry them.
#pragma once

#include <bit>
#include <cstdint>

namespace sim {

// std::bit_cast where the standard library has it; the web build's older library lacks it, and
// its compiler's builtin is the same operation.
#if defined(__cpp_lib_bit_cast)
inline uint32_t FloatBits(float value) { return std::bit_cast<uint32_t>(value); }
inline float FloatOfBits(uint32_t bits) { return std::bit_cast<float>(bits); }
#else
inline uint32_t FloatBits(float value) { return __builtin_bit_cast(uint32_t, value); }
inline float FloatOfBits(uint32_t bits) { return __builtin_bit_cast(float, bits); }
#endif

}  // namespace sim
