// Pictures of the screen output and of whole frames as PNG files, drawn by the cairo backend.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/world.h"
#include "sim/render/screen_output.h"

namespace sim {

// Writes the screen output alone, over grey, to path. False, with no file promised, when the size is outside
// 1..MaxScreenSide or the picture cannot be made or written.
bool WriteScreenPng(const Screen& screen, const std::string& path, int width = DefaultScreenWidth,
                    int height = DefaultScreenHeight);
bool WriteScreenPng(const Screen& screen, const std::vector<std::string>& notifications, const std::string& path,
                    int width = DefaultScreenWidth, int height = DefaultScreenHeight);

// Ends drawing: destroys `cr`, writes the surface to path and destroys it. False when the
// drawing failed or the file cannot be written.
bool FinishPng(cairo_t* cr, cairo_surface_t* surface, const std::string& path);

// A picture: pixels row by row, each 0xRRGGBB (cairo's 24-bit layout, the top byte unused).
struct ScreenPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  // When set, the picture's width x height words, row by row, are here in place of `pixels`:
  // memory it borrows (a window's locked texture), so that what is drawn is shown without a copy.
  uint32_t* borrowed = nullptr;
  uint32_t* Data() { return borrowed != nullptr ? borrowed : pixels.data(); }
  const uint32_t* Data() const { return borrowed != nullptr ? borrowed : pixels.data(); }
  uint32_t At(int x, int y) const { return Data()[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
};

// A cairo surface drawing straight into the picture's pixels, at its width and height.
cairo_surface_t* SurfaceOver(ScreenPicture& picture);

// Reads a PNG such as WriteScreenPng makes. False when it cannot be read.
bool ReadScreenPng(const std::string& path, ScreenPicture& picture);

}  // namespace sim
