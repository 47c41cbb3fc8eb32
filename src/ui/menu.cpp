#include "ui/menu.h"

#include <array>

#include "game/keyboard.h"
#include "game/natives.h"
#include "settings/bounds.h"
#include "settings/settings_file.h"
#include "ui/draw.h"
#include "ui/label_format.h"

namespace vantor {

namespace {

// --- Keys, by virtual-key code -------------------------------------------------------------

constexpr int32_t VK_F6 = 0x75;
constexpr int32_t VK_NUMPAD0 = 0x60;

// A group of two keys acts as one: down when either is, one shared latch.
struct KeyGroup {
  int32_t first;
  int32_t second;
};

constexpr KeyGroup UpKeys{0x26, 0x68};     // Up, Numpad 8
constexpr KeyGroup DownKeys{0x28, 0x62};   // Down, Numpad 2
constexpr KeyGroup LeftKeys{0x25, 0x64};   // Left, Numpad 4
constexpr KeyGroup RightKeys{0x27, 0x66};  // Right, Numpad 6
constexpr KeyGroup EnterKeys{0x0D, 0x65};  // Enter, Numpad 5

// --- Rows: one per setting (the table's menuRow), and two actions --------------------------

constexpr int32_t MenuRowCount = 10;
constexpr int32_t ResetRow = 4;
constexpr int32_t SaveRow = 5;
constexpr const char* ResetLabel = "Reset to Defaults";
constexpr const char* SaveLabel = "Save Settings";

constexpr float StepDown = -1.0f;
constexpr float StepUp = 1.0f;

constexpr const char* ResetNotice = "Vantor: reset to defaults (Save to keep)";
constexpr const char* SavedNotice = "Vantor: settings saved";
constexpr const char* SaveFailedNotice = "Vantor: settings could not be saved";

// The index in SettingRows of the setting each row shows; NoSetting for the action rows.
// Indices rather than pointers, so that the check below is a constant under the sanitizers too.
constexpr int32_t NoSetting = -1;
constexpr std::array<int32_t, MenuRowCount> SettingOfRow = [] {
  std::array<int32_t, MenuRowCount> rows{};
  rows.fill(NoSetting);
  for (std::size_t i = 0; i < std::size(SettingRows); ++i)
    rows[static_cast<std::size_t>(SettingRows[i].menuRow)] = static_cast<int32_t>(i);
  return rows;
}();

constexpr bool EveryRowHasOneUse() {
  int32_t settingRows = 0;
  for (int32_t row = 0; row < MenuRowCount; ++row) {
    if (SettingOfRow[static_cast<std::size_t>(row)] == NoSetting) continue;
    if (row == ResetRow || row == SaveRow) return false;
    ++settingRows;
  }
  return settingRows + 2 == MenuRowCount && settingRows == static_cast<int32_t>(std::size(SettingRows));
}
static_assert(EveryRowHasOneUse(), "each setting needs a menu row of its own, apart from Reset and Save");

// --- The figure: fractions of the screen from the top-left, rectangles by centre and size ---

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

constexpr TextStyle MenuTitleStyle{FontTitle, 0.42f, {20, 20, 20, 255}, false, 0, false, 0};
constexpr TextStyle MenuRowSelectedStyle{FontStandard, 0.34f, {20, 20, 20, 255}, false, 0, false, 0};
constexpr TextStyle MenuRowStyle{FontStandard, 0.34f, {225, 225, 225, 220}, false, 0, false, 0};
constexpr TextStyle MenuFooterStyle{FontStandard, 0.24f, {170, 170, 170, 220}, false, 0, false, 0};

// --- Acting on the keys -----------------------------------------------------------------------

const SettingRow* RowSetting(int32_t row) {
  const int32_t index = SettingOfRow[static_cast<std::size_t>(row)];
  return index == NoSetting ? nullptr : &SettingRows[index];
}

bool PressEdge(bool down, bool& wasDown) {
  const bool pressed = down && !wasDown;
  wasDown = down;
  return pressed;
}

// The second key is polled only when the first is not down.
bool IsGroupDown(const KeyGroup& group) { return IsKeyDown(group.first) || IsKeyDown(group.second); }

int32_t HeightIndex(int32_t classIndex) {
  return classIndex >= 0 && classIndex < VehicleClassCount ? classIndex : StartHeightClass;
}

// Left and Right: flags flip either way; numbers step by direction and clamp.
void AdjustRow(Settings& settings, int32_t row, int32_t classIndex, float direction) {
  const SettingRow* setting = RowSetting(row);
  if (setting == nullptr) return;
  switch (setting->kind) {
    case SettingKind::Flag: settings.*setting->flag = !(settings.*setting->flag); break;
    case SettingKind::Number:
      settings.*setting->number = ClampNanToLower(settings.*setting->number + direction * setting->menuStep,
                                                  setting->lower, setting->upper);
      break;
    case SettingKind::Heights: {
      // The menu sets one height for every vehicle class; per-class heights come only from the file.
      float(&heights)[VehicleClassCount] = settings.*setting->heights;
      const float height = ClampNanToLower(heights[HeightIndex(classIndex)] + direction * setting->menuStep,
                                           setting->lower, setting->upper);
      for (float& entry : heights) entry = height;
      break;
    }
  }
}

void ConfirmRow(Settings& settings, int32_t row) {
  if (row == ResetRow) {
    ResetSettings(settings);
    PostNotification(ResetNotice);
  } else if (row == SaveRow) {
    // A failed write must not be reported as saved.
    PostNotification(SaveSettings(settings) ? SavedNotice : SaveFailedNotice);
  }
}

// --- Drawing ----------------------------------------------------------------------------------

void DrawMenuRect(const MenuRect& rect) {
  DrawRect(rect.x, rect.y, rect.width, rect.height, rect.colour.red, rect.colour.green, rect.colour.blue,
           rect.colour.alpha);
}

// The bar when selected, then the label in the row style.
void DrawMenuRow(int32_t row, const char* label, bool selected) {
  const float y = static_cast<float>(row) * RowSpacing + FirstRowCentre;
  if (selected) {
    DrawRect(RowBarX, y, RowBarWidth, RowSpacing, RowBarColour.red, RowBarColour.green, RowBarColour.blue,
             RowBarColour.alpha);
  }
  DrawStyledText(selected ? MenuRowSelectedStyle : MenuRowStyle, label, MenuTextX, y - RowTextRaise);
}

// The whole menu for this frame: backdrop, title bar, row panel, accent stripe, ten rows,
// footer. shownHeight is the Height entry the Height row displays. Kept out of line, so that
// a pass with the menu closed does not save the registers the drawing needs.
[[gnu::noinline]] void DrawMenu(int32_t selectedRow, const Settings& settings, float shownHeight) {
  DrawMenuRect(MenuBackdrop);
  DrawMenuRect(MenuTitleBar);
  DrawStyledText(MenuTitleStyle, MenuTitleText, MenuTextX, MenuTitleY);
  DrawMenuRect(MenuRowPanel);
  DrawMenuRect(MenuAccentStripe);

  // One buffer for every formatted label, each written just before its row is drawn.
  char label[LabelBufferSize];
  for (int32_t row = 0; row < MenuRowCount; ++row) {
    const char* text = label;
    const SettingRow* setting = RowSetting(row);
    if (setting == nullptr) {
      text = row == ResetRow ? ResetLabel : SaveLabel;
    } else if (setting->kind == SettingKind::Flag) {
      FormatFlagLabel(label, sizeof label, setting->label, settings.*setting->flag);
    } else {
      const float value = setting->kind == SettingKind::Heights ? shownHeight : settings.*setting->number;
      FormatNumberLabel(label, sizeof label, setting->label, value, setting->labelDecimals);
    }
    DrawMenuRow(row, text, row == selectedRow);
  }

  DrawMenuRect(MenuFooterBar);
  DrawStyledText(MenuFooterStyle, MenuFooterText, MenuTextX, MenuFooterY);
}

}  // namespace

void UpdateMenu(MenuState& menu, Settings& settings, int32_t classIndex) {
  if (PressEdge(IsKeyDown(VK_F6), menu.f6WasDown)) menu.open = !menu.open;

  const bool numpad0Down = IsKeyDown(VK_NUMPAD0);
  if (numpad0Down && !menu.numpad0WasDown && menu.open) {
    menu.open = false;
    menu.numpad0WasDown = true;
    return;
  }
  menu.numpad0WasDown = numpad0Down;
  if (!menu.open) return;

  if (PressEdge(IsGroupDown(UpKeys), menu.upWasDown)) {
    menu.selectedRow = (menu.selectedRow + MenuRowCount - 1) % MenuRowCount;
  }
  if (PressEdge(IsGroupDown(DownKeys), menu.downWasDown)) menu.selectedRow = (menu.selectedRow + 1) % MenuRowCount;
  if (PressEdge(IsGroupDown(LeftKeys), menu.leftWasDown)) AdjustRow(settings, menu.selectedRow, classIndex, StepDown);
  if (PressEdge(IsGroupDown(RightKeys), menu.rightWasDown)) AdjustRow(settings, menu.selectedRow, classIndex, StepUp);
  if (PressEdge(IsGroupDown(EnterKeys), menu.enterWasDown)) ConfirmRow(settings, menu.selectedRow);

  DrawMenu(menu.selectedRow, settings, settings.Height[HeightIndex(classIndex)]);
}

}  // namespace vantor
