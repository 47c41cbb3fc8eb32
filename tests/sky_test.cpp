// The sky is drawn only in the rows where the ground leaves any of it showing, and the ground's
// gradient only above the rows where it has padded to plain grass (a tilted gradient is the
// dearest thing in a frame); the picture must be the same, pixel for pixel, as with the sky
// painted over the whole picture first and the whole ground filled with its gradient, whatever
// the camera's pitch and roll.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "sim/render/frame.h"
#include "sim/render/scene.h"
#include "sim/render/screen_png.h"

namespace {

constexpr int Width = 320, Height = 180;

sim::World LookingFrom(sim::Vec3 rotation) {
  sim::World world;
  world.camera.created = true;
  world.camera.active = true;
  world.scriptCamerasRendering = true;
  world.camera.position = {0.0f, 0.0f, 1.2f};
  world.camera.rotation = rotation;
  world.camera.fov = 80.0f;
  return world;
}

void Append(sim::Painter& painter, const sim::PaintCommand& command) {
  const auto op = static_cast<uint8_t>(command.op);
  painter.ops.push_back(op);
  painter.numbers.insert(painter.numbers.end(), command.numbers, command.numbers + sim::PaintOpNumbers[op]);
}

// The same list with the sky's fill, the first fill after the first gradient, as a paint of
// the whole picture instead.
sim::Painter SkyPaintedWhole(const sim::Painter& drawn) {
  sim::Painter whole;
  bool gradient = false, replaced = false;
  sim::ForEachCommand(drawn, [&](const sim::PaintCommand& command) {
    gradient = gradient || command.op == sim::PaintOp::SetLinearGradient;
    if (gradient && !replaced && command.op == sim::PaintOp::Rectangle) return;  // the sky's bounds
    if (gradient && !replaced && command.op == sim::PaintOp::Fill) {
      whole.ops.push_back(static_cast<uint8_t>(sim::PaintOp::Paint));
      replaced = true;
      return;
    }
    Append(whole, command);
  });
  whole.texts = drawn.texts;
  return whole;
}

// The list up to the ground's fill (the first fill after the second gradient), and the same
// with the ground filled whole: the sky's commands, then the picture's ground in the ground's
// gradient. Also whether the list drew some of the ground plain.
struct GroundLists {
  sim::Painter drawn, whole;
  bool plain = false;
};

GroundLists GroundOf(const sim::Painter& scene, const sim::View& view) {
  GroundLists lists;
  int gradients = 0, fills = 0;
  bool ended = false;
  sim::ForEachCommand(scene, [&](const sim::PaintCommand& command) {
    if (ended) return;
    Append(lists.drawn, command);
    if (fills == 0) Append(lists.whole, command);  // the sky, up to its fill
    if (command.op == sim::PaintOp::SetColour && gradients == 1) lists.plain = true;
    if (command.op == sim::PaintOp::Fill && gradients > 0) ++fills;
    if (command.op != sim::PaintOp::SetLinearGradient) {
      ended = command.op == sim::PaintOp::Fill && gradients == 2;
      return;
    }
    if (++gradients < 2) return;
    sim::NewPath(lists.whole);
    const std::vector<sim::PixelPoint> ground = sim::GroundOnPicture(view, 0.0, Width, Height);
    sim::MoveTo(lists.whole, ground.at(0).x, ground[0].y);
    for (size_t i = 1; i < ground.size(); ++i) sim::LineTo(lists.whole, ground[i].x, ground[i].y);
    sim::ClosePath(lists.whole);
    Append(lists.whole, command);
    sim::Fill(lists.whole);
  });
  return lists;
}

TEST(Ground, PlainWhereItsGradientHasPaddedTheSameAsFilledWhole) {
  int plain = 0;
  for (const float pitch : {-25.0f, -3.0f, 0.0f, 12.0f})
    for (const float roll : {0.0f, 2.5f, -7.0f, 21.0f, 95.0f, 180.0f}) {
      SCOPED_TRACE(testing::Message() << "pitch " << pitch << ", roll " << roll);
      const sim::World world = LookingFrom({pitch, roll, 30.0f});
      sim::Painter scene;
      sim::DrawScene(scene, world, {}, Width, Height);
      const GroundLists lists = GroundOf(scene, sim::MakeView(sim::RenderedView(world), Width, Height));
      plain += lists.plain ? 1 : 0;
      sim::ScreenPicture a{Width, Height, std::vector<uint32_t>(Width * Height, 0xFF00FF)}, b = a;
      ASSERT_TRUE(sim::PaintOver(a, lists.drawn));
      ASSERT_TRUE(sim::PaintOver(b, lists.whole));
      EXPECT_TRUE(a.pixels == b.pixels);
    }
  EXPECT_GT(plain, 10) << "most of these views draw some of the ground plain";
}

TEST(Sky, DrawnWhereTheGroundLeavesItTheSameAsPaintedWhole) {
  int bounded = 0;
  for (const float pitch : {-25.0f, -3.0f, 0.0f, 12.0f})
    for (const float roll : {0.0f, 7.0f, -33.0f, 95.0f, 180.0f}) {
      SCOPED_TRACE(testing::Message() << "pitch " << pitch << ", roll " << roll);
      const sim::World world = LookingFrom({pitch, roll, 30.0f});
      sim::Painter drawn;
      sim::DrawScene(drawn, world, {}, Width, Height);
      const sim::Painter whole = SkyPaintedWhole(drawn);
      bounded += whole.ops.size() < drawn.ops.size() ? 1 : 0;
      // Both start from a picture of another colour, so that a pixel left undrawn shows.
      sim::ScreenPicture a{Width, Height, std::vector<uint32_t>(Width * Height, 0xFF00FF)}, b = a;
      ASSERT_TRUE(sim::PaintOver(a, drawn));
      ASSERT_TRUE(sim::PaintOver(b, whole));
      EXPECT_TRUE(a.pixels == b.pixels);
    }
  EXPECT_GT(bounded, 10) << "most of these views draw the sky within bounds";
}

}  // namespace

namespace {

// cairo's own drawing of a gradient over a rectangle, for comparison with the renderer's.
sim::ScreenPicture CairoGradientRectangle(const double* n, const double* r) {
  sim::ScreenPicture picture{Width, Height, std::vector<uint32_t>(Width * Height, 0xFFFF00FF)};
  cairo_surface_t* surface = sim::SurfaceOver(picture);
  cairo_t* cr = cairo_create(surface);
  cairo_pattern_t* gradient = cairo_pattern_create_linear(n[0], n[1], n[2], n[3]);
  cairo_pattern_add_color_stop_rgb(gradient, 0.0, n[4], n[5], n[6]);
  cairo_pattern_add_color_stop_rgb(gradient, 1.0, n[7], n[8], n[9]);
  cairo_set_source(cr, gradient);
  cairo_rectangle(cr, r[0], r[1], r[2], r[3]);
  cairo_fill(cr);
  cairo_pattern_destroy(gradient);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return picture;
}

int LargestChannelDifference(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift = 0; shift < 32; shift += 8)
    largest = std::max(largest, std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)));
  return largest;
}

}  // namespace

// A tilted gradient over whole pixels is filled from a table rather than by cairo: the same
// colours as cairo's to within one step of a channel, only inside the rectangle, and the path
// used up as a fill uses it; a rectangle off the pixel grid is still cairo's.
TEST(Sky, TiltedGradientFilledFromTheTableAsCairoFillsIt) {
  const sim::Rgb low{0.80, 0.86, 0.92}, high{0.36, 0.56, 0.84};
  for (const double tilt : {0.02, 0.3, 1.0, -2.5, 40.0}) {
    SCOPED_TRACE(testing::Message() << "tilt " << tilt);
    const double n[] = {160.0, 120.0, 160.0 + tilt * 10.0, 20.0, low.red, low.green, low.blue, high.red, high.green, high.blue};
    const double r[] = {-4.0, 7.0, 300.0, 150.0};
    sim::Painter painter;
    sim::SetLinearGradient(painter, n[0], n[1], n[2], n[3], low, high);
    sim::Rectangle(painter, r[0], r[1], r[2], r[3]);
    sim::Fill(painter);
    sim::SetColour(painter, sim::Rgb{0.0, 0.0, 0.0});
    sim::Fill(painter);  // nothing left to fill
    sim::ScreenPicture drawn{Width, Height, std::vector<uint32_t>(Width * Height, 0xFFFF00FF)};
    ASSERT_TRUE(sim::PaintOver(drawn, painter));
    const sim::ScreenPicture expected = CairoGradientRectangle(n, r);
    int largest = 0;
    for (size_t i = 0; i < drawn.pixels.size(); ++i) largest = std::max(largest, LargestChannelDifference(drawn.pixels[i], expected.pixels[i]));
    EXPECT_LE(largest, 1);
    EXPECT_EQ(drawn.pixels[0], 0xFFFF00FFu) << "outside the rectangle";
    EXPECT_EQ(drawn.pixels[Width * (Height - 1) - 1], 0xFFFF00FFu) << "outside the rectangle";
  }
  // Off the grid: cairo's antialiased edge, exactly.
  const double n[] = {0.0, 100.0, 30.0, 0.0, 0.8, 0.86, 0.92, 0.36, 0.56, 0.84};
  const double r[] = {10.5, 10.0, 100.0, 50.25};
  sim::Painter painter;
  sim::SetLinearGradient(painter, n[0], n[1], n[2], n[3], low, high);
  sim::Rectangle(painter, r[0], r[1], r[2], r[3]);
  sim::Fill(painter);
  sim::ScreenPicture drawn{Width, Height, std::vector<uint32_t>(Width * Height, 0xFFFF00FF)};
  ASSERT_TRUE(sim::PaintOver(drawn, painter));
  EXPECT_TRUE(drawn.pixels == CairoGradientRectangle(n, r).pixels);
}
