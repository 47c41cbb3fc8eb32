// The painter's command list against cairo: each primitive recorded and drawn by the cairo
// backend reaches cairo as the same calls with the same arguments in the same order as drawing
// it straight with cairo (both logged by cairo's script surface, not compared as pixels); and
// the list reads back as it was recorded, as the page reads it.
#include <gtest/gtest.h>

#include <cairo-script.h>
#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "sim/render/paint_cairo.h"
#include "sim/render/painter.h"

namespace vantor_test {
namespace {

constexpr int Side = 200;

cairo_status_t AppendScript(void* script, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(script)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// What cairo was asked to draw, as its script surface writes it.
std::string CairoScriptOf(const std::function<void(cairo_t*)>& draw) {
  std::string script;
  cairo_device_t* device = cairo_script_create_for_stream(AppendScript, &script);
  cairo_surface_t* surface = cairo_script_surface_create(device, CAIRO_CONTENT_COLOR, Side, Side);
  cairo_t* cr = cairo_create(surface);
  draw(cr);
  EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  cairo_surface_destroy(surface);
  cairo_device_finish(device);
  cairo_device_destroy(device);
  return script;
}

struct Case {
  const char* name;
  std::function<void(sim::Painter&)> record;
  std::function<void(cairo_t*)> straight;
};

void Triangle(sim::Painter& p) {
  sim::NewPath(p);
  sim::MoveTo(p, 10.25, 20.5);
  sim::LineTo(p, 150.125, 30.0);
  sim::LineTo(p, 60.0, 170.75);
  sim::ClosePath(p);
}

// The outline of a line of text in the selected font, its pen starting at (x, baseline).
void TextPathAt(cairo_t* cr, double x, double baseline, const char* text) {
  cairo_new_path(cr);
  cairo_move_to(cr, x, baseline);
  cairo_text_path(cr, text);
}

void Triangle(cairo_t* cr) {
  cairo_new_path(cr);
  cairo_move_to(cr, 10.25, 20.5);
  cairo_line_to(cr, 150.125, 30.0);
  cairo_line_to(cr, 60.0, 170.75);
  cairo_close_path(cr);
}

sim::TextRun MenuTitle() {
  sim::TextRun run;
  run.font = sim::PaintFont::CondensedBold;
  run.size = 31.5;
  run.x = 12.5;
  run.baseline = 60.25;
  run.text = "Vantor Ä";
  run.fill = {1.0, 1.0, 1.0, 1.0};
  run.edge = true;
  run.edgeColour = {0.0, 0.0, 0.0, 0.8};
  run.edgeWidth = 1.5;
  run.shadow = true;
  run.shadowColour = {0.0, 0.0, 0.0, 0.6};
  run.shadowX = 13.5;
  run.shadowBaseline = 61.25;
  return run;
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"a filled path in a colour with alpha",
       [](sim::Painter& p) {
         Triangle(p);
         sim::SetColour(p, sim::Rgba{0.1, 0.2, 0.3, 0.45});
         sim::Fill(p);
       },
       [](cairo_t* cr) {
         Triangle(cr);
         cairo_set_source_rgba(cr, 0.1, 0.2, 0.3, 0.45);
         cairo_fill(cr);
       }},
      {"rectangles filled one after the other",
       [](sim::Painter& p) {
         sim::NewPath(p);
         sim::Rectangle(p, 5.5, 6.0, 100.25, 40.0);
         sim::SetColour(p, sim::Rgb{0.9, 0.1, 0.1});
         sim::Fill(p);
         sim::NewPath(p);
         sim::Rectangle(p, 50.0, 60.0, 20.0, 120.5);
         sim::SetColour(p, sim::Rgb{0.1, 0.1, 0.9}, 0.5);
         sim::Fill(p);
       },
       [](cairo_t* cr) {
         cairo_new_path(cr);
         cairo_rectangle(cr, 5.5, 6.0, 100.25, 40.0);
         cairo_set_source_rgba(cr, 0.9, 0.1, 0.1, 1.0);
         cairo_fill(cr);
         cairo_new_path(cr);
         cairo_rectangle(cr, 50.0, 60.0, 20.0, 120.5);
         cairo_set_source_rgba(cr, 0.1, 0.1, 0.9, 0.5);
         cairo_fill(cr);
       }},
      {"strokes with width, round cap and both joins",
       [](sim::Painter& p) {
         Triangle(p);
         sim::SetLineWidth(p, 7.5);
         sim::SetLineCap(p, sim::LineCap::Round);
         sim::SetLineJoin(p, sim::LineJoin::Round);
         sim::SetColour(p, sim::Rgb{0.2, 0.3, 0.1});
         sim::Stroke(p);
         Triangle(p);
         sim::SetLineCap(p, sim::LineCap::Butt);
         sim::SetLineJoin(p, sim::LineJoin::Miter);
         sim::Stroke(p);
       },
       [](cairo_t* cr) {
         Triangle(cr);
         cairo_set_line_width(cr, 7.5);
         cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
         cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
         cairo_set_source_rgba(cr, 0.2, 0.3, 0.1, 1.0);
         cairo_stroke(cr);
         Triangle(cr);
         cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
         cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
         cairo_stroke(cr);
       }},
      {"a linear gradient painted over everything, then a path in it",
       [](sim::Painter& p) {
         sim::SetLinearGradient(p, 0.0, 120.5, 10.0, 20.0, {0.8, 0.86, 0.92}, {0.36, 0.56, 0.84});
         sim::Paint(p);
         Triangle(p);
         sim::SetLinearGradient(p, 5.0, 5.0, 195.0, 190.0, {0.66, 0.72, 0.66}, {0.38, 0.5, 0.29});
         sim::Fill(p);
       },
       [](cairo_t* cr) {
         for (const auto& [x0, y0, x1, y1, a, b] :
              {std::tuple{0.0, 120.5, 10.0, 20.0, sim::Rgb{0.8, 0.86, 0.92}, sim::Rgb{0.36, 0.56, 0.84}},
               std::tuple{5.0, 5.0, 195.0, 190.0, sim::Rgb{0.66, 0.72, 0.66}, sim::Rgb{0.38, 0.5, 0.29}}}) {
           cairo_pattern_t* gradient = cairo_pattern_create_linear(x0, y0, x1, y1);
           cairo_pattern_add_color_stop_rgb(gradient, 0.0, a.red, a.green, a.blue);
           cairo_pattern_add_color_stop_rgb(gradient, 1.0, b.red, b.green, b.blue);
           cairo_set_source(cr, gradient);
           cairo_pattern_destroy(gradient);
           if (x0 == 0.0) {
             cairo_paint(cr);
             Triangle(cr);
           } else {
             cairo_fill(cr);
           }
         }
       }},
      {"save and restore around grey antialiasing and a colour",
       [](sim::Painter& p) {
         sim::SetColour(p, sim::Rgb{0.5, 0.5, 0.5});
         sim::Save(p);
         sim::GreyAntialias(p);
         sim::SetColour(p, sim::Rgb{0.9, 0.8, 0.1});
         Triangle(p);
         sim::Fill(p);
         sim::Restore(p);
         Triangle(p);
         sim::Fill(p);
       },
       [](cairo_t* cr) {
         cairo_set_source_rgba(cr, 0.5, 0.5, 0.5, 1.0);
         cairo_save(cr);
         cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
         cairo_set_source_rgba(cr, 0.9, 0.8, 0.1, 1.0);
         Triangle(cr);
         cairo_fill(cr);
         cairo_restore(cr);
         Triangle(cr);
         cairo_fill(cr);
       }},
      {"text plain, then with its shadow under it and its edge",
       [](sim::Painter& p) {
         sim::TextRun plain;
         plain.size = 18.0;
         plain.x = 3.0;
         plain.baseline = 150.5;
         plain.text = "Height 0.65";
         plain.fill = {0.9, 0.9, 0.9, 1.0};
         sim::DrawText(p, plain);
         sim::DrawText(p, MenuTitle());
       },
       [](cairo_t* cr) {
         cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
         cairo_set_font_size(cr, 18.0);
         TextPathAt(cr, 3.0, 150.5, "Height 0.65");
         cairo_set_source_rgba(cr, 0.9, 0.9, 0.9, 1.0);
         cairo_fill(cr);
         // The menu's title as the screen output drew it with cairo: the shadow, then the
         // outline stroked under the fill.
         cairo_select_font_face(cr, "DejaVu Sans Condensed", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
         cairo_set_font_size(cr, 31.5);
         TextPathAt(cr, 13.5, 61.25, "Vantor Ä");
         cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.6);
         cairo_fill(cr);
         TextPathAt(cr, 12.5, 60.25, "Vantor Ä");
         cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.8);
         cairo_set_line_width(cr, 1.5);
         cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
         cairo_stroke_preserve(cr);
         cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 1.0);
         cairo_fill(cr);
       }},
  };
  return cases;
}

TEST(PainterOnCairo, EachPrimitiveReachesCairoAsTheSameCallsInTheSameOrder) {
  for (const Case& c : Cases()) {
    sim::Painter painter;
    c.record(painter);
    const std::string recorded = CairoScriptOf([&](cairo_t* cr) { sim::PaintOnCairo(cr, painter); });
    const std::string straight = CairoScriptOf(c.straight);
    EXPECT_GT(straight.size(), 100u) << c.name << ": cairo drew nothing";
    EXPECT_EQ(recorded, straight) << c.name;
  }
}

TEST(PainterList, ReadsBackCommandByCommandAsRecorded) {
  sim::Painter painter;
  sim::MoveTo(painter, 1.0 / 3.0, -2.5e-7);
  sim::DrawText(painter, MenuTitle());
  sim::TextRun second;
  second.text = "Vantor: settings saved";
  second.x = 7.0;
  sim::DrawText(painter, second);
  sim::SetLineJoin(painter, sim::LineJoin::Round);

  std::vector<sim::PaintOp> ops;
  std::vector<sim::TextRun> texts;
  std::vector<double> moved;
  sim::ForEachCommand(painter, [&](const sim::PaintCommand& command) {
    ops.push_back(command.op);
    if (command.op == sim::PaintOp::Text) texts.push_back(sim::TextOf(painter, command));
    if (command.op == sim::PaintOp::MoveTo) moved.assign(command.numbers, command.numbers + 2);
    if (command.op == sim::PaintOp::SetLineJoin) {
      EXPECT_EQ(command.numbers[0], 1.0) << "the numbers stay in step";
    }
  });
  EXPECT_EQ(ops, (std::vector<sim::PaintOp>{sim::PaintOp::MoveTo, sim::PaintOp::Text, sim::PaintOp::Text,
                                            sim::PaintOp::SetLineJoin}));
  EXPECT_EQ(moved, (std::vector<double>{1.0 / 3.0, -2.5e-7})) << "numbers are kept exactly";
  ASSERT_EQ(texts.size(), 2u);
  const sim::TextRun title = MenuTitle();
  EXPECT_EQ(texts[0].text, title.text);
  EXPECT_EQ(texts[0].font, title.font);
  EXPECT_EQ(texts[0].size, title.size);
  EXPECT_EQ(texts[0].shadowBaseline, title.shadowBaseline);
  EXPECT_EQ(texts[0].edgeWidth, title.edgeWidth);
  EXPECT_EQ(texts[0].edgeColour.alpha, title.edgeColour.alpha);
  EXPECT_TRUE(texts[0].edge && texts[0].shadow);
  EXPECT_EQ(texts[1].text, "Vantor: settings saved");
  EXPECT_FALSE(texts[1].edge || texts[1].shadow);
}

}  // namespace
}  // namespace vantor_test
