#include "ui/menu_draw.h"

#include "game/natives.h"
#include "ui/draw.h"
#include "ui/label_format.h"
#include "ui/menu_layout.h"
#include "ui/menu_rows.h"

namespace vantor {

namespace {

void DrawMenuRect(const MenuRect& rect) {
  DrawRect(rect.x, rect.y, rect.width, rect.height, rect.colour.red, rect.colour.green, rect.colour.blue,
           rect.colour.alpha);
}

}  // namespace

float MenuRowCentre(int32_t row) { return static_cast<float>(row) * RowSpacing + FirstRowCentre; }

void DrawMenuRow(int32_t row, const char* label, bool selected) {
  const float y = MenuRowCentre(row);
  if (selected) {
    DrawRect(RowBarX, y, RowBarWidth, RowSpacing, RowBarColour.red, RowBarColour.green, RowBarColour.blue,
             RowBarColour.alpha);
  }
  DrawStyledText(selected ? MenuRowSelectedStyle : MenuRowStyle, label, MenuTextX, y - RowTextRaise);
}

void DrawMenu(int32_t selectedRow, const Settings& settings, float shownHeight) {
  DrawMenuRect(MenuBackdrop);
  DrawMenuRect(MenuTitleBar);
  DrawStyledText(MenuTitleStyle, MenuTitleText, MenuTextX, MenuTitleY);
  DrawMenuRect(MenuRowPanel);
  DrawMenuRect(MenuAccentStripe);

  // One buffer for every formatted label, each written just before its row is drawn.
  char label[LabelBufferSize];
  for (int32_t row = 0; row < MenuRowCount; ++row) {
    const char* text = label;
    switch (row) {
      case RowModEnabled: FormatFlagLabel(label, sizeof label, ModEnabledLabel, settings.ModEnabled); break;
      case RowFov: FormatNumberLabel(label, sizeof label, FovLabel, settings.FOV, FovDecimals); break;
      case RowHeight: FormatNumberLabel(label, sizeof label, HeightLabel, shownHeight, HeightDecimals); break;
      case RowAutoRecenter: FormatFlagLabel(label, sizeof label, AutoRecenterLabel, settings.AutoRecenter); break;
      case RowReset: text = ResetLabel; break;
      case RowSave: text = SaveLabel; break;
      case RowLookSensitivity:
        FormatNumberLabel(label, sizeof label, LookSensitivityLabel, settings.LookSensitivity, LookSensitivityDecimals);
        break;
      case RowDynamicFov: FormatFlagLabel(label, sizeof label, DynamicFovLabel, settings.DynamicFOV); break;
      case RowCornerLean: FormatFlagLabel(label, sizeof label, CornerLeanLabel, settings.CornerLean); break;
      case RowBetterHookerView:
        FormatFlagLabel(label, sizeof label, BetterHookerViewLabel, settings.BetterHookerView);
        break;
      default: break;
    }
    DrawMenuRow(row, text, row == selectedRow);
  }

  DrawMenuRect(MenuFooterBar);
  DrawStyledText(MenuFooterStyle, MenuFooterText, MenuTextX, MenuFooterY);
}

}  // namespace vantor
