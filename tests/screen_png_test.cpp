// The PNG renderer of a frame's screen output, checked pixel by pixel on small screens, and
// the pictures of the menu and the hold prompt written into the build's pictures folder.
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "menu_fixture.h"
#include "sim/render/screen_png.h"
#include "support.h"

namespace vantor_test {
namespace {

struct Pixel {
  int red, green, blue;
  bool operator==(const Pixel&) const = default;
};

// A picture read back, or an empty one that every check fails on.
struct Picture {
  sim::ScreenPicture picture;
  bool loaded;
  explicit Picture(const std::string& path) : loaded(sim::ReadScreenPng(path, picture)) {}
  bool Loaded() const { return loaded; }
  int Width() const { return picture.width; }
  int Height() const { return picture.height; }
  Pixel At(int x, int y) const {
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return {-1, -1, -1};
    const uint32_t rgb = picture.At(x, y);
    return {static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF)};
  }
};

bool Near(const Pixel& a, const Pixel& b, int tolerance = 2) {
  return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
         std::abs(a.blue - b.blue) <= tolerance;
}

sim::DrawnText Line(const std::string& text, float x, float y, float size, std::array<int32_t, 4> colour) {
  sim::DrawnText drawn{text, x, y, {}};
  drawn.style.size = size;
  drawn.style.colour = colour;
  return drawn;
}

void Add(sim::Screen& screen, const sim::DrawnRect& rect) {
  screen.order.push_back({sim::ScreenItem::Kind::Rect, static_cast<uint32_t>(screen.rects.size())});
  screen.rects.push_back(rect);
}

void Add(sim::Screen& screen, const sim::DrawnText& text) {
  screen.order.push_back({sim::ScreenItem::Kind::Text, static_cast<uint32_t>(screen.texts.size())});
  screen.texts.push_back(text);
}

std::filesystem::path PicturesFolder() {
  const std::filesystem::path pictures = VANTOR_PICTURES_DIR;
  std::filesystem::create_directories(pictures);
  return pictures;
}

// --- The renderer -----------------------------------------------------------------------

class ScreenPngTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = MakeScratchFolder("vantor-png");
  }
  void TearDown() override { RemoveScratchFolder(folder); }
  std::string PathOf(const std::string& name) const { return (folder / name).string(); }
  std::filesystem::path folder;
};

TEST_F(ScreenPngTest, RectanglesArePlacedByCentreAndBlendedInIssueOrder) {
  sim::Screen screen;
  Add(screen, {0.5f, 0.5f, 0.5f, 0.5f, 255, 0, 0, 255});   // x 50..150, y 25..75 of 200x100
  Add(screen, {0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 255, 128});   // half-transparent blue over its centre
  ASSERT_TRUE(sim::WriteScreenPng(screen, PathOf("rects.png"), 200, 100));
  const Picture picture(PathOf("rects.png"));
  ASSERT_TRUE(picture.Loaded());
  EXPECT_EQ(picture.Width(), 200);
  EXPECT_EQ(picture.Height(), 100);
  const Pixel background = picture.At(5, 5);
  EXPECT_TRUE(Near(picture.At(60, 30), {255, 0, 0}));
  EXPECT_TRUE(Near(picture.At(149, 74), {255, 0, 0}));
  EXPECT_EQ(picture.At(45, 50), background);
  EXPECT_EQ(picture.At(100, 20), background);
  EXPECT_TRUE(Near(picture.At(100, 50), {127, 0, 128}));
}

TEST_F(ScreenPngTest, TextStartsAtItsTopLeftCornerInItsColourWithShadowAndEdge) {
  sim::Screen screen;
  Add(screen, Line("HHHH", 0.25f, 0.25f, 1.5f, {0, 255, 0, 255}));
  sim::DrawnText outlined = Line("HHHH", 0.25f, 0.6f, 1.5f, {255, 255, 255, 255});
  outlined.style.dropShadow = true;
  outlined.style.dropShadowArgs = {0, 0, 0, 0, 255};
  outlined.style.edge = true;
  outlined.style.edgeArgs = {1, 0, 0, 0, 255};
  Add(screen, outlined);
  constexpr int Width = 800;
  constexpr int Height = 1080;
  ASSERT_TRUE(sim::WriteScreenPng(screen, PathOf("text.png"), Width, Height));
  const Picture picture(PathOf("text.png"));
  ASSERT_TRUE(picture.Loaded());

  // The text cell at size 1.5: 1.5 * 0.08 of the screen height.
  const int left = Width / 4;
  const int firstTop = Height / 4;
  const int firstBottom = firstTop + static_cast<int>(1.5 * sim::TextCellAtSizeOne * Height) + 1;
  const int secondTop = static_cast<int>(0.6 * Height);
  const Pixel background = picture.At(2, 2);
  int green = 0, white = 0, black = 0, blackNearPlain = 0, stray = 0;
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x) {
      const Pixel p = picture.At(x, y);
      if (p == background) continue;
      if (x < left - 1 || (y < firstTop || (y > firstBottom && y < secondTop - 1))) ++stray;
      if (Near(p, {0, 255, 0}, 8)) ++green;
      if (Near(p, {255, 255, 255}, 8)) ++white;
      if (Near(p, {0, 0, 0}, 24)) ++(y >= secondTop - 1 ? black : blackNearPlain);
    }
  }
  EXPECT_GT(green, 500) << "the text is drawn in its colour";
  EXPECT_GT(white, 500);
  EXPECT_GT(black, 100) << "shadow and edge show in black";
  EXPECT_EQ(blackNearPlain, 0) << "a line without them has no black";
  EXPECT_EQ(stray, 0) << "nothing left of the lines' x, above the first or between the two";
}

TEST_F(ScreenPngTest, FeedNotificationsShowInTheLowerLeftCorner) {
  ASSERT_TRUE(sim::WriteScreenPng(sim::Screen{}, {"Vantor: settings saved"}, PathOf("feed.png"), 800, 400));
  const Picture picture(PathOf("feed.png"));
  ASSERT_TRUE(picture.Loaded());
  const Pixel background = picture.At(799, 0);
  EXPECT_FALSE(picture.At(16, 380) == background);
  EXPECT_EQ(picture.At(16, 40), background);
}

TEST_F(ScreenPngTest, RefusesImpossibleSizesAndUnwritablePaths) {
  const sim::Screen screen;
  EXPECT_FALSE(sim::WriteScreenPng(screen, PathOf("zero.png"), 0, 100));
  EXPECT_FALSE(sim::WriteScreenPng(screen, PathOf("huge.png"), 100, sim::MaxScreenSide + 1));
  EXPECT_FALSE(sim::WriteScreenPng(screen, PathOf("missing/folder/x.png"), 100, 100));
  // Text cairo cannot take (not UTF-8) neither fails the picture nor stops later drawing.
  sim::Screen odd;
  Add(odd, Line("bad \xff\xfe text", 0.1f, 0.1f, 1.0f, {255, 255, 255, 255}));
  Add(odd, sim::DrawnRect{0.5f, 0.8f, 0.2f, 0.2f, 255, 0, 0, 255});
  ASSERT_TRUE(sim::WriteScreenPng(odd, PathOf("odd.png"), 100, 100));
  EXPECT_TRUE(Near(Picture(PathOf("odd.png")).At(50, 80), {255, 0, 0}));
}

// --- Pictures of the plugin's screens ---------------------------------------------------

TEST_F(MenuTest, PicturesOfTheMenuOnRowsZeroAndFour) {
  LoadAndOpen();
  const std::filesystem::path pictures = PicturesFolder();
  ASSERT_TRUE(sim::WriteScreenPng(world().screen, (pictures / "menu_row0.png").string()));
  SelectRow(4);
  const int32_t frame = Tap(KeyEnter);  // the reset notice, for the feed corner
  RunFrames(1);
  ASSERT_TRUE(sim::WriteScreenPng(world().screen, sim::NotificationsShown(world(), frame, FrameTimeMs),
                                  (pictures / "menu_row4.png").string()));
  const Picture picture((pictures / "menu_row4.png").string());
  ASSERT_TRUE(picture.Loaded());
  // The amber bar behind row 4 at x 0.22, y 0.486 of 1920x1080; the panel grey on row 3.
  EXPECT_TRUE(Near(picture.At(static_cast<int>(0.35 * 1920), static_cast<int>(0.4925 * 1080)), {255, 185, 60}, 30));
  EXPECT_FALSE(Near(picture.At(static_cast<int>(0.35 * 1920), static_cast<int>(0.4605 * 1080)), {255, 185, 60}, 60));
}

// The ink of the dark text inside a bar of the picture: its topmost and lowest rows.
struct Ink {
  int top = -1, bottom = -1;
  double Centre() const { return (top + bottom) / 2.0; }
};

Ink DarkInk(const Picture& picture, int left, int right, int top, int bottom) {
  Ink ink;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x)
      if (picture.At(x, y).red < 100) {
        if (ink.top < 0) ink.top = y;
        ink.bottom = y;
      }
  return ink;
}

// Labels are placed by their top; at the game's text size they come out centred in their bars.
TEST_F(MenuTest, LabelsSitCentredInTheirBarsAt1080Lines) {
  LoadAndOpen();
  SelectRow(1);  // "FOV: 80.0" in dark ink on the amber bar, no descenders
  const std::string path = (PicturesFolder() / "menu_row1.png").string();
  ASSERT_TRUE(sim::WriteScreenPng(world().screen, path));
  const Picture picture(path);
  ASSERT_TRUE(picture.Loaded());
  constexpr int W = 1920, H = 1080;
  constexpr double RowCentre = 0.39, RowHalf = 0.016, TitleCentre = 0.321, TitleHalf = 0.021;
  constexpr double CentringPixels = 3.0;
  const Ink row = DarkInk(picture, static_cast<int>(0.06 * W), static_cast<int>(0.38 * W),
                          static_cast<int>((RowCentre - RowHalf) * H) + 1, static_cast<int>((RowCentre + RowHalf) * H) - 1);
  ASSERT_GE(row.top, 0) << "the selected label has dark ink";
  EXPECT_NEAR(row.Centre(), RowCentre * H, CentringPixels);
  // Capitals at size 0.34 stand about 18 pixels: the text is as big as the game's, not half of it.
  EXPECT_GE(row.bottom - row.top, 15);
  EXPECT_LE(row.bottom - row.top, 22);
  const Ink title = DarkInk(picture, static_cast<int>(0.06 * W), static_cast<int>(0.38 * W),
                            static_cast<int>((TitleCentre - TitleHalf) * H) + 1, static_cast<int>((TitleCentre + TitleHalf) * H) - 1);
  ASSERT_GE(title.top, 0);
  EXPECT_NEAR(title.Centre(), TitleCentre * H, CentringPixels);
}

TEST_F(MenuTest, PictureOfTheHoldPrompt) {
  sim::Vehicle car;
  car.vehicleClass = 1;
  sim::EnterVehicle(world(), sim::AddVehicle(world(), car), -1);
  world().vehicleCameraViewMode = sim::FirstPersonViewMode;
  Load();
  RunFrames(2);
  sim::SetKeyDown(world(), 0x56, true);
  RunFrames(10);
  const bool prompt = std::any_of(world().screen.texts.begin(), world().screen.texts.end(),
                                  [](const sim::DrawnText& t) { return t.text.rfind("Keep holding V", 0) == 0; });
  ASSERT_TRUE(prompt) << "the camera stage draws the hold prompt";
  ASSERT_TRUE(sim::WriteScreenPng(world().screen, (PicturesFolder() / "hold_prompt.png").string()));
}

}  // namespace
}  // namespace vantor_test
