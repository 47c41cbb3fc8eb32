// Text measured from the font files compiled into the module, the ones the page draws with, so
// that node and the page lay text out alike.
#include <cstdio>
#include <cstdlib>

#include "sim/render/embedded_fonts.h"
#include "sim/render/font_file.h"
#include "sim/render/text_metrics.h"

namespace sim {

namespace {

const FontFileMetrics& MetricsOf(PaintFont font) {
  static const auto read = [](PaintFont which) {
    FontFileMetrics metrics;
    if (!ReadFontFile(EmbeddedFontFile(which), metrics)) {
      std::fputs("the embedded font cannot be read\n", stderr);  // a build fault, never a user's
      std::abort();
    }
    return metrics;
  };
  static const FontFileMetrics sans = read(PaintFont::Sans), condensedBold = read(PaintFont::CondensedBold);
  return font == PaintFont::CondensedBold ? condensedBold : sans;
}

}  // namespace

FontMetrics MeasureFont(PaintFont font, double size) { return ScaledFontMetrics(MetricsOf(font), size); }

double MeasureAdvance(PaintFont font, double size, std::string_view text) {
  return ScaledAdvance(MetricsOf(font), size, text);
}

}  // namespace sim
