// Pictures of a frame's screen output: what the plugin drew, rendered with cairo into a PNG.
//
// The game's own rendering is approximated, not reproduced:
// - The screen is width x height pixels (1920 x 1080 unless given) over a flat neutral grey.
// - Rectangles are placed by centre and full size and filled with their colour and alpha.
// - Text is placed by its top-left corner: the top of the font's ascent sits at y. Font 0 is
//   DejaVu Sans, font 7 DejaVu Sans Condensed Bold, any other DejaVu Sans.
// - Text size 1.0 gives a line (the font's ascent plus descent) of TextLineAtSizeOne of the
//   screen height, so the menu rows' size 0.34 stands about 0.012 of the height.
// - A drop shadow is the text again in the shadow's colour, moved right and down by
//   ShadowOffset of the screen height; the game's distance argument is not modelled.
// - An edge is the text's outline stroked in the edge's colour, EdgeWidth of the screen height
//   wide (one pixel at 1080 lines), under the text's own fill.
// - Notifications, when given, stack as dark boxes upward from the lower-left corner, the
//   newest at the bottom, as the game's feed shows them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/world.h"

namespace sim {

constexpr int DefaultScreenWidth = 1920;
constexpr int DefaultScreenHeight = 1080;
constexpr int MaxScreenSide = 16384;

constexpr double TextLineAtSizeOne = 0.035;
constexpr double ShadowOffset = 1.0 / 1080.0;
constexpr double EdgeWidth = 1.0 / 1080.0;

// Writes the picture to path. False, with no file promised, when the size is outside
// 1..MaxScreenSide or the picture cannot be made or written.
bool WriteScreenPng(const Screen& screen, const std::string& path, int width = DefaultScreenWidth,
                    int height = DefaultScreenHeight);
bool WriteScreenPng(const Screen& screen, const std::vector<std::string>& notifications, const std::string& path,
                    int width = DefaultScreenWidth, int height = DefaultScreenHeight);

// A picture read back: pixels row by row, each 0xRRGGBB.
struct ScreenPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
};

// Reads a PNG such as WriteScreenPng makes. False when it cannot be read.
bool ReadScreenPng(const std::string& path, ScreenPicture& picture);

// The texts of the notifications posted on one frame, in posting order.
std::vector<std::string> NotificationsOfFrame(const World& world, int32_t frame);

}  // namespace sim
