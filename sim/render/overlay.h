// The live drive's own words over a picture (sim/core/live_overlay.h), drawn through the
// painter: the status in a box at the top right and, when shown, the help, every key in two
// columns, in a box below it. Drawn after any screenshot of the frame is taken, so that a
// screenshot is the frame as the game shows it.
#pragma once

#include <string>
#include <vector>

#include "sim/render/painter.h"

namespace sim {

void DrawOverlay(Painter& painter, const std::vector<std::string>& status, bool help, int width, int height);

}  // namespace sim
