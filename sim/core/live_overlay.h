// The live drive's own words over the picture, which never reach the plugin or the trace: a
// status (the vehicle's speed, the view mode, the camera that renders, frames a second) and
// the help listing every key. Text only: each front end draws it its own way.
#pragma once

#include <string>
#include <vector>

#include "sim/core/world.h"

namespace sim {

struct KeyHelp {
  const char* keys;
  const char* what;
};

// Every control of the live drive, as the game has them.
inline constexpr KeyHelp LiveKeyHelp[] = {
    {"W / S, triggers", "accelerate / brake, then reverse"},
    {"A / D, left stick", "steer"},
    {"F", "get into the nearest vehicle's driver's seat, or out"},
    {"W / S, A / D on foot", "walk ahead / back, sideways (ahead: towards the vehicle left)"},
    {"mouse, right stick", "look around (Vantor's free look)"},
    {"V", "the game's next view (0, 1, 2, first person); hold 1 s: leave Vantor"},
    {"F6", "Vantor's menu; Numpad 0 closes it too"},
    {"Up / Down, Numpad 8 / 2", "menu row"},
    {"Left / Right, Numpad 4 / 6", "change the row's value"},
    {"Enter, Numpad 5", "Reset to Defaults, Save Settings"},
    {"F1", "this help"},
    {"F12", "screenshot of the frame (screenshot-NNNNNN.png)"},
    {"Esc", "free the mouse; click in the window to look again"},
    {"close the window", "end the drive and write its files"},
};

// The status lines for the frame just played.
std::vector<std::string> LiveStatusLines(const World& world, double framesPerSecond, bool mouseFree);

}  // namespace sim
