// Screen colours: red, green, blue and alpha, each 0 to 255 (alpha 255 opaque).
#pragma once

#include <cstdint>

namespace vantor {

struct Colour {
  int32_t red;
  int32_t green;
  int32_t blue;
  int32_t alpha;
};

}  // namespace vantor
