// The in-game settings menu: F6 toggles it, arrows move and adjust, Enter confirms.
#pragma once

#include <cstdint>

#include "settings/settings.h"

namespace vantor {

constexpr int32_t MenuRowCount = 10;

struct MenuState {
  bool open = false;
  int32_t selectedRow = 0;
  bool f6WasDown = false;
  bool numpad0WasDown = false;
  bool upWasDown = false;
  bool downWasDown = false;
  bool leftWasDown = false;
  bool rightWasDown = false;
  bool enterWasDown = false;
};

void UpdateMenu(MenuState& menu, Settings& settings, int32_t classIndex);

}  // namespace vantor
