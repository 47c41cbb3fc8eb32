// Text measured by cairo, on a scratch surface of the pictures' own kind, so that the figures
// are the ones the pictures are drawn with.
#include <cairo.h>

#include <algorithm>
#include <array>
#include <string>

#include "sim/render/paint_cairo.h"
#include "sim/render/text_metrics.h"

namespace sim {

namespace {

constexpr size_t RememberedFonts = 8;

// Made once and kept for the process: every measurement only changes its font.
cairo_t* ScratchContext(PaintFont font, double size) {
  static cairo_t* const scratch = [] {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* cr = cairo_create(surface);
    cairo_surface_destroy(surface);  // the context keeps it
    return cr;
  }();
  const CairoFace face = CairoFaceOf(font);
  cairo_select_font_face(scratch, face.family, CAIRO_FONT_SLANT_NORMAL, face.weight);
  cairo_set_font_size(scratch, size);
  return scratch;
}

}  // namespace

FontMetrics MeasureFont(PaintFont font, double size) {
  // A frame asks for the same few fonts and sizes text after text, and a live drive frame after
  // frame; cairo's answer for one is the same each time, and costs a font's set-up to get.
  struct Known {
    PaintFont font;
    double size;
    FontMetrics metrics;
  };
  static std::array<Known, RememberedFonts> known{};
  static size_t count = 0, next = 0;
  for (size_t i = 0; i < count; ++i)
    if (known[i].font == font && known[i].size == size) return known[i].metrics;
  cairo_font_extents_t extents;
  cairo_font_extents(ScratchContext(font, size), &extents);
  const FontMetrics metrics{extents.ascent, extents.descent};
  known[next] = {font, size, metrics};
  next = (next + 1) % known.size();
  count = std::min(count + 1, known.size());
  return metrics;
}

double MeasureAdvance(PaintFont font, double size, std::string_view text) {
  cairo_text_extents_t extents;
  cairo_text_extents(ScratchContext(font, size), std::string(text).c_str(), &extents);
  return extents.x_advance;
}

}  // namespace sim
