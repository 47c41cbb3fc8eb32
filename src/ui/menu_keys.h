// The menu's keys, by virtual-key code.
#pragma once

#include <cstdint>

namespace vantor {

constexpr int32_t VK_F6 = 0x75;
constexpr int32_t VK_NUMPAD0 = 0x60;
constexpr int32_t VK_UP = 0x26;
constexpr int32_t VK_NUMPAD8 = 0x68;
constexpr int32_t VK_DOWN = 0x28;
constexpr int32_t VK_NUMPAD2 = 0x62;
constexpr int32_t VK_LEFT = 0x25;
constexpr int32_t VK_NUMPAD4 = 0x64;
constexpr int32_t VK_RIGHT = 0x27;
constexpr int32_t VK_NUMPAD6 = 0x66;
constexpr int32_t VK_RETURN = 0x0D;
constexpr int32_t VK_NUMPAD5 = 0x65;

// A group of two keys acts as one: down when either is, one shared latch.
struct KeyGroup {
  int32_t first;
  int32_t second;
};

constexpr KeyGroup UpKeys{VK_UP, VK_NUMPAD8};
constexpr KeyGroup DownKeys{VK_DOWN, VK_NUMPAD2};
constexpr KeyGroup LeftKeys{VK_LEFT, VK_NUMPAD4};
constexpr KeyGroup RightKeys{VK_RIGHT, VK_NUMPAD6};
constexpr KeyGroup EnterKeys{VK_RETURN, VK_NUMPAD5};

}  // namespace vantor
