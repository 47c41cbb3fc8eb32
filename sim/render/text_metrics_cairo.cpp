// Text measured by cairo, on a scratch surface of the pictures' own kind, so that the figures
// are the ones the pictures are drawn with.
#include <cairo.h>

#include <string>

#include "sim/render/paint_cairo.h"
#include "sim/render/text_metrics.h"

namespace sim {

namespace {

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
  cairo_font_extents_t extents;
  cairo_font_extents(ScratchContext(font, size), &extents);
  return {extents.ascent, extents.descent};
}

double MeasureAdvance(PaintFont font, double size, std::string_view text) {
  cairo_text_extents_t extents;
  cairo_text_extents(ScratchContext(font, size), std::string(text).c_str(), &extents);
  return extents.x_advance;
}

}  // namespace sim
