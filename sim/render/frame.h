// A frame as the game shows it: the view from the camera that renders, with the frame's
// screen output and the feed over it.
#pragma once

#include <string>
#include <vector>

#include "sim/core/world.h"
#include "sim/render/painter.h"
#include "sim/render/road.h"
#include "sim/render/screen_png.h"

namespace sim {

// Draws the frame into `picture` at its width and height (each 1..MaxScreenSide). False when
// the size is outside that or cairo fails.
bool RenderFrame(const World& world, const std::vector<Road>& roads, const std::vector<std::string>& notifications,
                 ScreenPicture& picture);

// Draws a recorded list over what the picture holds, with cairo. False when cairo fails.
bool PaintOver(ScreenPicture& picture, const Painter& painter);

// False when the file cannot be written.
bool WritePicturePng(const ScreenPicture& picture, const std::string& path);

}  // namespace sim
