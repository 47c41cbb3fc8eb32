// The in-game settings menu: F6 toggles it, arrows move and adjust, Enter confirms.
#pragma once

#include <cstdint>

#include "settings/settings.h"

namespace vantor {

struct MenuState {
  bool open = false;
  int32_t selectedRow = 0;  // kept while closed and when opened again
  // One press latch per key group: down at the previous poll.
  bool f6WasDown = false;
  bool numpad0WasDown = false;
  bool upWasDown = false;
  bool downWasDown = false;
  bool leftWasDown = false;
  bool rightWasDown = false;
  bool enterWasDown = false;
};

// One pass of the menu stage: polls the keys, applies at most one action per key group and,
// while open, draws the menu. classIndex picks the Height entry that the Height row shows and
// adjusts; a value outside the vehicle classes falls back to the start class's entry.
void UpdateMenu(MenuState& menu, Settings& settings, int32_t classIndex);

}  // namespace vantor
