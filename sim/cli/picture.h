// The one place the command turns a frame's screen output into a picture.
#pragma once

#include <cstdint>
#include <string>

#include "sim/core/world.h"

namespace sim {

// The size the game most often runs at.
constexpr int DefaultPictureWidth = 1920;
constexpr int DefaultPictureHeight = 1080;

// A PNG of what `frame` put on screen, with the notifications posted on it. False when it
// could not be written.
bool TakePicture(const World& world, int32_t frame, const std::string& path, int width, int height);

}  // namespace sim
