// The six fixed styles of the plugin's screen text.
#pragma once

#include <cstdint>

#include "ui/colour.h"

namespace vantor {

// The game's font numbering.
constexpr int32_t FontStandard = 0;
constexpr int32_t FontTitle = 7;

struct TextStyle {
  int32_t font;
  float size;
  Colour colour;
  bool dropShadow;
  int32_t dropShadowAlpha;
  bool edge;
  int32_t edgeAlpha;
};

// Shadow and edge are always black; the shadow sits at distance 0 and the edge's first value is 1.
constexpr int32_t DropShadowDistance = 0;
constexpr int32_t EdgeFirstValue = 1;
constexpr Colour TextEffectColour{0, 0, 0, 0};  // shadow and edge; their alpha comes from the style

constexpr TextStyle CaptionStyle{FontStandard, 0.25f, {255, 255, 255, 170}, true, 180, true, 100};
constexpr TextStyle PromptStyle{FontStandard, 0.35f, {255, 255, 255, 220}, true, 255, true, 150};
constexpr TextStyle MenuTitleStyle{FontTitle, 0.42f, {20, 20, 20, 255}, false, 0, false, 0};
constexpr TextStyle MenuRowSelectedStyle{FontStandard, 0.34f, {20, 20, 20, 255}, false, 0, false, 0};
constexpr TextStyle MenuRowStyle{FontStandard, 0.34f, {225, 225, 225, 220}, false, 0, false, 0};
constexpr TextStyle MenuFooterStyle{FontStandard, 0.24f, {170, 170, 170, 220}, false, 0, false, 0};

}  // namespace vantor
