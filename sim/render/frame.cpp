#include "sim/render/frame.h"

#include "sim/render/scene.h"

namespace sim {

namespace {

constexpr int BytesPerPixel = 4;

// A cairo surface over the picture's own pixels, which have cairo's 24-bit layout.
cairo_surface_t* SurfaceOver(ScreenPicture& picture) {
  return cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(picture.pixels.data()),
                                             CAIRO_FORMAT_RGB24, picture.width, picture.height,
                                             picture.width * BytesPerPixel);
}

}  // namespace

bool RenderFrame(const World& world, const std::vector<Road>& roads, const std::vector<std::string>& notifications,
                 ScreenPicture& picture) {
  const int width = picture.width, height = picture.height;
  if (width < 1 || height < 1 || width > MaxScreenSide || height > MaxScreenSide) return false;
  picture.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  cairo_surface_t* surface = SurfaceOver(picture);
  cairo_t* cr = cairo_create(surface);
  DrawScene(cr, world, roads, width, height);
  DrawScreenOutput(cr, world.screen, notifications, width, height);
  const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
  return drawn;
}

bool WritePicturePng(const ScreenPicture& picture, const std::string& path) {
  if (picture.width < 1 || picture.height < 1 ||
      picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height))
    return false;
  cairo_surface_t* surface = SurfaceOver(const_cast<ScreenPicture&>(picture));  // only read
  const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written;
}

}  // namespace sim
