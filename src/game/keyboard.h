// The keyboard as the plugin sees it: a key is down while bit 15 of its async state is set.
#pragma once

#include <cstdint>

#include "game/imports.h"

namespace vantor {

constexpr uint16_t KeyDownBit = 0x8000;

inline bool IsKeyDown(int32_t virtualKey) {
  return (static_cast<uint16_t>(GetAsyncKeyState(virtualKey)) & KeyDownBit) != 0;
}

}  // namespace vantor
