// Everything the plugin puts on screen outside the menu's own figure: styled text, the
// caption, the hold prompt and feed notifications. Drawn for the current frame only; nothing
// here allocates or keeps state.
#pragma once

#include <cstdint>

namespace vantor {

// Red, green, blue and alpha, each 0 to 255 (alpha 255 opaque).
struct Colour {
  int32_t red;
  int32_t green;
  int32_t blue;
  int32_t alpha;
};

// The game's font numbering.
constexpr int32_t FontStandard = 0;
constexpr int32_t FontTitle = 7;

// Shadow and edge are always black; their alpha comes from the style.
struct TextStyle {
  int32_t font;
  float size;
  Colour colour;
  bool dropShadow;
  int32_t dropShadowAlpha;
  bool edge;
  int32_t edgeAlpha;
};

// One line of text, its top-left corner at (x, y). text need stay valid only during the call.
void DrawStyledText(const TextStyle& style, const char* text, float x, float y);

// "Vantor by Quillon" in the top-left corner; the frame loop calls it on every pass.
void DrawCaption();

// One line in the prompt style at the prompt's fixed x; only the height is the caller's.
void DrawPromptText(float y, const char* text);

// Posts text to the game's notification feed, which keeps and retires it by itself.
void PostNotification(const char* text);

}  // namespace vantor
