// Game-time arithmetic: times are signed 32-bit milliseconds that wrap around, so sums and
// differences are taken modulo 2^32 instead of overflowing.
#pragma once

#include <cstdint>

namespace vantor {

inline int32_t GameTimeAfter(int32_t time, int32_t milliseconds) {
  return static_cast<int32_t>(static_cast<uint32_t>(time) + static_cast<uint32_t>(milliseconds));
}

inline int32_t GameTimeSince(int32_t now, int32_t earlier) {
  return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(earlier));
}

}  // namespace vantor
