// What measuring text needs from a TrueType font file, read from the file's own tables, so that
// a build without a font library (the web module) measures as cairo does with the same font.
#pragma once

#include <array>
#include <string_view>

#include "sim/render/text_metrics.h"

namespace sim {

// In font units. Characters outside printable ASCII take the missing glyph's advance.
struct FontFileMetrics {
  double unitsPerEm = 0.0;
  double ascender = 0.0;   // above the baseline (hhea)
  double descender = 0.0;  // below it, positive
  std::array<double, 128> advance{};
  double missingAdvance = 0.0;
};

// Reads head, hhea, hmtx and a format 4 cmap. False when the bytes are not such a font.
bool ReadFontFile(std::string_view bytes, FontFileMetrics& metrics);

// At `size` pixels, with cairo's default hinted metrics: ascent and descent rounded up to whole
// pixels, each glyph's advance rounded to a whole pixel.
FontMetrics ScaledFontMetrics(const FontFileMetrics& metrics, double size);
double ScaledAdvance(const FontFileMetrics& metrics, double size, std::string_view utf8);

}  // namespace sim
