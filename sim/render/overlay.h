// The live drive's own lines over a picture (sim/core/live_overlay.h): the status in a box at
// the top right, and the help, when shown, in a box at the right. Drawn after any screenshot
// of the frame is taken, so that a screenshot is the frame as the game shows it.
#pragma once

#include <string>
#include <vector>

#include "sim/render/screen_png.h"

namespace sim {

void DrawOverlay(ScreenPicture& picture, const std::vector<std::string>& status, const std::vector<std::string>& help);

}  // namespace sim
