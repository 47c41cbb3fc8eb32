#include "ui/menu.h"

#include "game/keyboard.h"

namespace vantor {

namespace {

constexpr int32_t KeyF6 = 0x75;
constexpr int32_t KeyNumpad0 = 0x60;

bool PressEdge(bool down, bool& wasDown) {
  const bool pressed = down && !wasDown;
  wasDown = down;
  return pressed;
}

}  // namespace

void UpdateMenu(MenuState& menu, Settings&, int32_t) {
  if (PressEdge(IsKeyDown(KeyF6), menu.f6WasDown)) menu.open = !menu.open;
  const bool numpad0Down = IsKeyDown(KeyNumpad0);
  if (numpad0Down && !menu.numpad0WasDown && menu.open) {
    menu.open = false;
    menu.numpad0WasDown = true;
    return;
  }
  menu.numpad0WasDown = numpad0Down;
  if (!menu.open) return;
}

}  // namespace vantor
