// A frame's screen output: what the plugin drew, drawn through the painter over the view or, for
// a picture of the screen output alone (screen_png.h), over a flat neutral grey.
//
// The game's own rendering is approximated, not reproduced:
// - The screen is width x height pixels (1920 x 1080 unless given).
// - Rectangles are placed by centre and full size and filled with their colour and alpha.
// - Text is placed by its top-left corner: the top of the font's ascent sits at y. Font 0 is
//   DejaVu Sans, font 7 DejaVu Sans Condensed Bold, any other DejaVu Sans.
// - Text of size s fills a cell TextCellAtSizeOne * s of the screen height tall: the font's
//   ascent plus descent, from the y given down. The game's own layout fixes the figure: a menu
//   row's label stands 0.01344 above its bar's centre at size 0.34 and the title 0.0168 above
//   its bar's centre at size 0.42, half a cell of 0.079 and 0.080 per unit of size, so each
//   label sits centred in its bar (a row's label at size 0.34 is 29 pixels at 1080 lines).
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
#include "sim/render/painter.h"

namespace sim {

constexpr int DefaultScreenWidth = 1920;
constexpr int DefaultScreenHeight = 1080;
constexpr int MaxScreenSide = 16384;

constexpr double TextCellAtSizeOne = 0.08;
constexpr double ShadowOffset = 1.0 / 1080.0;
constexpr double EdgeWidth = 1.0 / 1080.0;

// Draws the screen output and the notifications over whatever the picture holds.
void DrawScreenOutput(Painter& painter, const Screen& screen, const std::vector<std::string>& notifications, int width,
                      int height);

// The game's feed keeps a notification about this long.
constexpr int32_t FeedShowMs = 5000;

// The texts of the notifications the feed shows on `frame`: those posted on it and on the
// frames of the last FeedShowMs before it, oldest first.
std::vector<std::string> NotificationsShown(const World& world, int32_t frame, int32_t frameTimeMs);

}  // namespace sim
