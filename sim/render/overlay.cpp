#include "sim/render/overlay.h"

#include <cairo.h>

#include <algorithm>

namespace sim {

namespace {

constexpr double LineShare = 1.0 / 42.0;  // of the picture's height, a line of text
constexpr double MarginShare = 0.015;     // of the picture's height, from its edges and between boxes
constexpr double Padding = 0.5;           // lines of space inside a box
constexpr double BoxAlpha = 0.6;
constexpr const char* OverlayFont = "DejaVu Sans Mono";

// A dark box of lines with its top-right corner at (right, top); returns its bottom.
double DrawBox(cairo_t* cr, const std::vector<std::string>& lines, double right, double top, double line) {
  double width = 0.0;
  for (const std::string& text : lines) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    width = std::max(width, extents.x_advance);
  }
  const double pad = Padding * line, boxWidth = width + 2 * pad, boxHeight = line * lines.size() + 2 * pad;
  cairo_rectangle(cr, right - boxWidth, top, boxWidth, boxHeight);
  cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, BoxAlpha);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  for (size_t i = 0; i < lines.size(); ++i) {
    cairo_move_to(cr, right - boxWidth + pad, top + pad + line * (i + 0.8));
    cairo_show_text(cr, lines[i].c_str());
  }
  return top + boxHeight;
}

}  // namespace

void DrawOverlay(ScreenPicture& picture, const std::vector<std::string>& status, const std::vector<std::string>& help) {
  if (picture.width < 1 || picture.height < 1) return;
  cairo_surface_t* surface = SurfaceOver(picture);
  cairo_t* cr = cairo_create(surface);
  const double line = picture.height * LineShare, margin = picture.height * MarginShare;
  cairo_select_font_face(cr, OverlayFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, line * 0.8);
  const double right = picture.width - margin;
  double bottom = status.empty() ? 0.0 : DrawBox(cr, status, right, margin, line);
  if (!help.empty()) DrawBox(cr, help, right, bottom + margin, line);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
}

}  // namespace sim
