// Text measured as the backends will draw it, while the list is recorded: the Linux build asks
// cairo (text_metrics_cairo.cpp), the web build reads the embedded metrics of the same fonts.
#pragma once

#include <string_view>

#include "sim/render/painter.h"

namespace sim {

struct FontMetrics {
  double ascent = 0.0;   // above the baseline, pixels
  double descent = 0.0;  // below it
};

FontMetrics MeasureFont(PaintFont font, double size);
// How far the text moves the pen: the width its line takes.
double MeasureAdvance(PaintFont font, double size, std::string_view text);

}  // namespace sim
