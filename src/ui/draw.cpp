#include "ui/draw.h"

#include "game/natives.h"

namespace vantor {

namespace {

// The entry name every text and feed post goes through: the text itself is its one component.
constexpr const char* TextEntryLiteral = "STRING";
constexpr float TextScaleUnused = 0.0f;

constexpr const char* CaptionText = "Vantor by Quillon";
constexpr float CaptionX = 0.008f;
constexpr float CaptionY = 0.005f;
constexpr float PromptX = 0.01f;

// The shadow sits at distance 0 and the edge's first value is 1.
constexpr int32_t DropShadowDistance = 0;
constexpr int32_t EdgeFirstValue = 1;
constexpr Colour TextEffectColour{0, 0, 0, 0};

constexpr TextStyle CaptionStyle{FontStandard, 0.25f, {255, 255, 255, 170}, true, 180, true, 100};
constexpr TextStyle PromptStyle{FontStandard, 0.35f, {255, 255, 255, 220}, true, 255, true, 150};

}  // namespace

void DrawStyledText(const TextStyle& style, const char* text, float x, float y) {
  SetTextFont(style.font);
  SetTextScale(TextScaleUnused, style.size);
  SetTextColour(style.colour.red, style.colour.green, style.colour.blue, style.colour.alpha);
  SetTextCentre(false);
  if (style.dropShadow) {
    SetTextDropShadow(DropShadowDistance, TextEffectColour.red, TextEffectColour.green, TextEffectColour.blue,
                      style.dropShadowAlpha);
  }
  if (style.edge) {
    SetTextEdge(EdgeFirstValue, TextEffectColour.red, TextEffectColour.green, TextEffectColour.blue, style.edgeAlpha);
  }
  BeginTextDisplay(TextEntryLiteral);
  AddTextComponentString(text);
  EndTextDisplay(x, y);
}

void DrawCaption() { DrawStyledText(CaptionStyle, CaptionText, CaptionX, CaptionY); }

void DrawPromptText(float y, const char* text) { DrawStyledText(PromptStyle, text, PromptX, y); }

void PostNotification(const char* text) {
  BeginFeedPost(TextEntryLiteral);
  AddTextComponentString(text);
  EndFeedPostTicker(false, false);
}

}  // namespace vantor
