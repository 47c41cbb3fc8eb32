#include "sim/render/screen_png.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "sim/render/paint_cairo.h"

namespace sim {

namespace {

constexpr Rgba Background{0.42, 0.45, 0.48, 1.0};

}  // namespace

bool WriteScreenPng(const Screen& screen, const std::string& path, int width, int height) {
  return WriteScreenPng(screen, {}, path, width, height);
}

bool WriteScreenPng(const Screen& screen, const std::vector<std::string>& notifications, const std::string& path,
                    int width, int height) {
  if (width < 1 || height < 1 || width > MaxScreenSide || height > MaxScreenSide) return false;
  Painter painter;
  SetColour(painter, Background);
  Paint(painter);
  DrawScreenOutput(painter, screen, notifications, width, height);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  PaintOnCairo(cr, painter);
  return FinishPng(cr, surface, path);
}

bool FinishPng(cairo_t* cr, cairo_surface_t* surface, const std::string& path) {
  const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const bool written = drawn && cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written;
}

cairo_surface_t* SurfaceOver(ScreenPicture& picture) {
  return cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(picture.Data()),
                                             CAIRO_FORMAT_RGB24, picture.width, picture.height,
                                             picture.width * static_cast<int>(sizeof(uint32_t)));
}

bool ReadScreenPng(const std::string& path, ScreenPicture& picture) {
  cairo_surface_t* loaded = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(loaded) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(loaded);
    return false;
  }
  // Whatever the file's own format, draw it into plain 24-bit pixels.
  const int width = cairo_image_surface_get_width(loaded);
  const int height = cairo_image_surface_get_height(loaded);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_surface(cr, loaded, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  picture.width = width;
  picture.height = height;
  picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t pixel;
      std::memcpy(&pixel, data + static_cast<ptrdiff_t>(y) * stride + 4 * x, sizeof pixel);
      picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x] = pixel & 0xFFFFFFu;
    }
  }
  cairo_surface_destroy(surface);
  cairo_surface_destroy(loaded);
  return true;
}

}  // namespace sim
