// The cairo backend: draws a recorded list with cairo, for the simulator's pictures and video.
#pragma once

#include <cairo.h>

#include "sim/render/painter.h"

namespace sim {

// The faces cairo draws the renderer's fonts with.
struct CairoFace {
  const char* family;
  cairo_font_weight_t weight;
};
CairoFace CairoFaceOf(PaintFont font);

// Draws every command of the list in order onto cr.
void PaintOnCairo(cairo_t* cr, const Painter& painter);

}  // namespace sim
