// The renderer's fonts as files compiled into a build that has no font library (the web
// module): the subsets of cmake/FontSubsets.cmake, which the page also draws with.
#pragma once

#include <string_view>

#include "sim/render/painter.h"

namespace sim {

std::string_view EmbeddedSansFont();
std::string_view EmbeddedCondensedBoldFont();

inline std::string_view EmbeddedFontFile(PaintFont font) {
  return font == PaintFont::CondensedBold ? EmbeddedCondensedBoldFont() : EmbeddedSansFont();
}

}  // namespace sim
