// The one place the command turns a frame into a picture: the view with the screen output over it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/world.h"
#include "sim/render/road.h"
#include "sim/render/screen_png.h"

namespace sim {

// The size the game most often runs at.
constexpr int DefaultPictureWidth = 1920;
constexpr int DefaultPictureHeight = 1080;

// "WIDTHxHEIGHT", each side from minSide to maxSide, and even when asked.
bool ParsePictureSize(const std::string& text, int minSide, int maxSide, bool even, int& width, int& height);

// Draws `frame` as the game shows it, with the feed as it stands then, into `picture` at its
// width and height. False when it cannot be drawn.
bool DrawFrame(const World& world, const std::vector<Road>& roads, int32_t frame, int32_t frameTimeMs,
               ScreenPicture& picture);

}  // namespace sim
