#include "sim/render/frame.h"

#include "sim/render/paint_cairo.h"
#include "sim/render/scene.h"

namespace sim {

bool RenderFrame(const World& world, const std::vector<Road>& roads, const std::vector<std::string>& notifications,
                 ScreenPicture& picture) {
  const int width = picture.width, height = picture.height;
  if (width < 1 || height < 1 || width > MaxScreenSide || height > MaxScreenSide) return false;
  if (picture.borrowed == nullptr) picture.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  Painter painter;
  DrawFrame(painter, world, roads, notifications, width, height);
  return PaintOver(picture, painter);
}

bool PaintOver(ScreenPicture& picture, const Painter& painter) {
  cairo_surface_t* surface = SurfaceOver(picture);
  cairo_t* cr = cairo_create(surface);
  PaintOnCairo(cr, painter);
  const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
  return drawn;
}

bool WritePicturePng(const ScreenPicture& picture, const std::string& path) {
  if (picture.width < 1 || picture.height < 1 ||
      (picture.borrowed == nullptr &&
       picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height)))
    return false;
  cairo_surface_t* surface = SurfaceOver(const_cast<ScreenPicture&>(picture));  // only read
  const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written;
}

}  // namespace sim
