// Where the menu's pieces sit and in which colours: fractions of the screen from the top-left,
// rectangles by centre and full size.
#pragma once

#include <cstdint>

#include "ui/colour.h"

namespace vantor {

struct MenuRect {
  float x;
  float y;
  float width;
  float height;
  Colour colour;
};

constexpr Colour MenuAmber{255, 185, 60, 255};
constexpr Colour MenuPanelGrey{18, 18, 22, 220};

constexpr MenuRect MenuBackdrop{0.224f, 0.53f, 0.35f, 0.462f, {0, 0, 0, 140}};
constexpr MenuRect MenuTitleBar{0.22f, 0.321f, 0.34f, 0.042f, MenuAmber};
constexpr MenuRect MenuRowPanel{0.22f, 0.534f, 0.34f, 0.384f, MenuPanelGrey};
constexpr MenuRect MenuAccentStripe{0.0525f, 0.526f, 0.005f, 0.452f, MenuAmber};
constexpr MenuRect MenuFooterBar{0.22f, 0.739f, 0.34f, 0.026f, MenuPanelGrey};

// The selected row's bar fills its slot across the panel; its y is the slot's centre line.
constexpr float RowBarX = 0.22f;
constexpr float RowBarWidth = 0.34f;
constexpr Colour RowBarColour{255, 185, 60, 235};

// Slot i's centre line: i * RowSpacing + FirstRowCentre, in single precision.
constexpr float FirstRowCentre = 0.358f;
constexpr float RowSpacing = 0.032f;
constexpr float RowTextRaise = 0.01344f;  // from the slot's centre line up to its text's top

constexpr float MenuTextX = 0.09f;
constexpr const char* MenuTitleText = "VANTOR";
constexpr float MenuTitleY = 0.3042f;
constexpr const char* MenuFooterText = "Up/Down: Move   Left/Right: Adjust   Enter: Confirm";
constexpr float MenuFooterY = 0.73068f;

}  // namespace vantor
