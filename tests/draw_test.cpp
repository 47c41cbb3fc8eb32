// Screen output call by call: the menu's figure, the row labels, the caption, the prompt and
// feed posts, as the trace records them.
#include <clocale>
#include <algorithm>

#include "menu_fixture.h"

namespace vantor_test {
namespace {

std::string F(float value) { return sim::FormatFloat(value); }

std::string RectLine(int32_t frame, float x, float y, float w, float h, int r, int g, int b, int a) {
  return std::to_string(frame) + " DrawRect(" + F(x) + ", " + F(y) + ", " + F(w) + ", " + F(h) + ", " +
         std::to_string(r) + ", " + std::to_string(g) + ", " + std::to_string(b) + ", " + std::to_string(a) + ")";
}

struct Style {
  int font;
  float size;
  int r, g, b, a;
  int shadowAlpha;  // -1: none
  int edgeAlpha;    // -1: none
};

constexpr Style Caption{0, 0.25f, 255, 255, 255, 170, 180, 100};
constexpr Style Prompt{0, 0.35f, 255, 255, 255, 220, 255, 150};
constexpr Style Title{7, 0.42f, 20, 20, 20, 255, -1, -1};
constexpr Style RowSelected{0, 0.34f, 20, 20, 20, 255, -1, -1};
constexpr Style Row{0, 0.34f, 225, 225, 225, 220, -1, -1};
constexpr Style Footer{0, 0.24f, 170, 170, 170, 220, -1, -1};

void AddText(std::vector<std::string>& lines, int32_t frame, const Style& s, const std::string& text, float x,
             float y) {
  const std::string f = std::to_string(frame) + " ";
  lines.push_back(f + "SetTextFont(" + std::to_string(s.font) + ")");
  lines.push_back(f + "SetTextScale(" + F(0.0f) + ", " + F(s.size) + ")");
  lines.push_back(f + "SetTextColour(" + std::to_string(s.r) + ", " + std::to_string(s.g) + ", " +
                  std::to_string(s.b) + ", " + std::to_string(s.a) + ")");
  lines.push_back(f + "SetTextCentre(0)");
  if (s.shadowAlpha >= 0) lines.push_back(f + "SetTextDropShadow(0, 0, 0, 0, " + std::to_string(s.shadowAlpha) + ")");
  if (s.edgeAlpha >= 0) lines.push_back(f + "SetTextEdge(1, 0, 0, 0, " + std::to_string(s.edgeAlpha) + ")");
  lines.push_back(f + "BeginTextDisplay(\"STRING\")");
  lines.push_back(f + "AddTextComponentString(\"" + text + "\")");
  lines.push_back(f + "EndTextDisplay(" + F(x) + ", " + F(y) + ")");
}

float RowCentre(int row) { return static_cast<float>(row) * 0.032f + 0.358f; }

// The menu with default settings, as one frame should draw it.
std::vector<std::string> ExpectedMenu(int32_t frame, int selectedRow) {
  const std::vector<std::string> labels = {
      "Vantor: ON",         "FOV: 80.0",     "Height: 0.70",           "Auto-Recenter: ON", "Reset to Defaults",
      "Save Settings",      "Look Sensitivity: 35", "Dynamic FOV: OFF", "Corner Lean: OFF", "Better Hooker View: OFF"};
  std::vector<std::string> lines;
  lines.push_back(RectLine(frame, 0.224f, 0.53f, 0.35f, 0.462f, 0, 0, 0, 140));
  lines.push_back(RectLine(frame, 0.22f, 0.321f, 0.34f, 0.042f, 255, 185, 60, 255));
  AddText(lines, frame, Title, "VANTOR", 0.09f, 0.3042f);
  lines.push_back(RectLine(frame, 0.22f, 0.534f, 0.34f, 0.384f, 18, 18, 22, 220));
  lines.push_back(RectLine(frame, 0.0525f, 0.526f, 0.005f, 0.452f, 255, 185, 60, 255));
  for (int row = 0; row < 10; ++row) {
    const float y = RowCentre(row);
    const bool selected = row == selectedRow;
    if (selected) lines.push_back(RectLine(frame, 0.22f, y, 0.34f, 0.032f, 255, 185, 60, 235));
    AddText(lines, frame, selected ? RowSelected : Row, labels[static_cast<size_t>(row)], 0.09f, y - 0.01344f);
  }
  lines.push_back(RectLine(frame, 0.22f, 0.739f, 0.34f, 0.026f, 18, 18, 22, 220));
  AddText(lines, frame, Footer, "Up/Down: Move   Left/Right: Adjust   Enter: Confirm", 0.09f, 0.73068f);
  return lines;
}

std::vector<std::string> ExpectedCaption(int32_t frame) {
  std::vector<std::string> lines;
  AddText(lines, frame, Caption, "Vantor by Quillon", 0.008f, 0.005f);
  return lines;
}

template <typename T>
std::vector<T> Join(std::vector<T> first, const std::vector<T>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// --- The menu's figure ------------------------------------------------------------------

TEST_F(MenuTest, OneMenuFrameDrawsSixRectanglesAndTwelveLinesInOrderThenTheCaption) {
  LoadAndOpen();
  RunFrames(1);
  const int32_t frame = NextFrame() - 1;
  EXPECT_EQ(ScreenLines(frame), Join(ExpectedMenu(frame, 0), ExpectedCaption(frame)));
  EXPECT_EQ(world().screen.rects.size(), 6u);
  EXPECT_EQ(world().screen.texts.size(), 13u);
}

TEST_F(MenuTest, OnlyTheSelectedRowHasABarAndDarkText) {
  LoadAndOpen();
  SelectRow(4);
  const int32_t frame = NextFrame() - 1;
  EXPECT_EQ(ScreenLines(frame), Join(ExpectedMenu(frame, 4), ExpectedCaption(frame)));
  const auto amber = std::count_if(world().screen.rects.begin(), world().screen.rects.end(),
                                   [](const sim::DrawnRect& r) { return r.alpha == 235; });
  EXPECT_EQ(amber, 1);
}

TEST_F(MenuTest, FirstAndLastRowsSitInTheirSlots) {
  LoadAndOpen();
  const sim::Screen& first = world().screen;
  EXPECT_EQ(first.rects[4].y, 0.358f);
  EXPECT_FLOAT_EQ(first.texts[1].y, 0.34456f);
  Tap(KeyUp);
  const sim::Screen& last = world().screen;
  ASSERT_EQ(last.rects.size(), 6u);
  EXPECT_FLOAT_EQ(last.rects[4].y, 0.646f);
  EXPECT_FLOAT_EQ(last.texts[10].y, 0.63256f);
  EXPECT_EQ(last.texts[10].text, "Better Hooker View: OFF");
}

TEST_F(MenuTest, LabelsAreTheSameUnderACommaDecimalLocale) {
  // The plugin shares the process's C library, so a locale set here is the one it runs under.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string restore = previous != nullptr ? previous : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no comma-decimal locale installed";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  LoadAndOpen();
  SelectRow(1);
  Tap(KeyRight);
  std::setlocale(LC_NUMERIC, restore.c_str());
  EXPECT_STREQ(probe, "1,5") << "the locale in force uses a comma";
  EXPECT_EQ(RowLabel(1), "FOV: 82.5");
  EXPECT_EQ(RowLabel(2), "Height: 0.70");
}

// --- Caption, prompt, feed --------------------------------------------------------------

TEST_F(MenuTest, TheCaptionIsDrawnOnEveryPassOpenOrClosed) {
  Load();
  RunFrames(3);
  for (int32_t frame = 0; frame < 3; ++frame) EXPECT_EQ(ScreenLines(frame), ExpectedCaption(frame));
  const int32_t opening = Tap(KeyF6);
  const std::vector<std::string> lines = ScreenLines(opening);
  const std::vector<std::string> caption = ExpectedCaption(opening);
  ASSERT_GE(lines.size(), caption.size());
  EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<long>(caption.size()), lines.end()), caption)
      << "issued after the menu";
}

TEST_F(MenuTest, AFeedPostIsThreeCallsWithTheTickerGivenZeroAndZero) {
  LoadAndOpen();
  SelectRow(4);
  const int32_t frame = Tap(KeyEnter);
  const std::vector<std::string> lines = ScreenLines(frame);
  const std::string f = std::to_string(frame) + " ";
  const std::vector<std::string> post = {f + "BeginFeedPost(\"STRING\")",
                                         f + "AddTextComponentString(\"Vantor: reset to defaults (Save to keep)\")",
                                         f + "EndFeedPostTicker(0, 0)"};
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 3), post) << "posted before the menu is drawn";
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.end()),
            Join(ExpectedMenu(frame, 4), ExpectedCaption(frame)));
}

TEST_F(MenuTest, TheHoldPromptUsesThePromptStyleAfterTheCaption) {
  sim::Vehicle car;
  car.vehicleClass = 1;
  const int32_t handle = sim::AddVehicle(world(), car);
  sim::EnterVehicle(world(), handle, -1);
  world().vehicleCameraViewMode = sim::FirstPersonViewMode;
  Load();
  RunFrames(2);
  sim::SetKeyDown(world(), 0x56, true);
  RunFrames(1);
  const int32_t frame = NextFrame() - 1;
  ASSERT_GE(Count(frame, "EndTextDisplay"), 2) << "the caption and the hold prompt";
  std::vector<std::string> expected = ExpectedCaption(frame);
  AddText(expected, frame, Prompt, "Keep holding V to exit first person...", 0.01f, 0.9f);
  EXPECT_EQ(ScreenLines(frame), expected);
}

}  // namespace
}  // namespace vantor_test
