#include "sim/render/paint_cairo.h"

#include <string>

namespace sim {

namespace {

constexpr const char* StandardFamily = "DejaVu Sans";
constexpr const char* TitleFamily = "DejaVu Sans Condensed";

void SetSource(cairo_t* cr, const Rgba& colour) {
  cairo_set_source_rgba(cr, colour.red, colour.green, colour.blue, colour.alpha);
}

void TextPath(cairo_t* cr, const std::string& text, double x, double baseline) {
  cairo_new_path(cr);
  cairo_move_to(cr, x, baseline);
  cairo_text_path(cr, text.c_str());
}

void PaintText(cairo_t* cr, const TextRun& run) {
  const CairoFace face = CairoFaceOf(run.font);
  cairo_select_font_face(cr, face.family, CAIRO_FONT_SLANT_NORMAL, face.weight);
  cairo_set_font_size(cr, run.size);
  const std::string text(run.text);
  if (run.shadow) {
    TextPath(cr, text, run.shadowX, run.shadowBaseline);
    SetSource(cr, run.shadowColour);
    cairo_fill(cr);
  }
  TextPath(cr, text, run.x, run.baseline);
  if (run.edge) {
    SetSource(cr, run.edgeColour);
    cairo_set_line_width(cr, run.edgeWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  SetSource(cr, run.fill);
  cairo_fill(cr);
}

void SetLinearGradient(cairo_t* cr, const double* n) {
  cairo_pattern_t* gradient = cairo_pattern_create_linear(n[0], n[1], n[2], n[3]);
  cairo_pattern_add_color_stop_rgb(gradient, 0.0, n[4], n[5], n[6]);
  cairo_pattern_add_color_stop_rgb(gradient, 1.0, n[7], n[8], n[9]);
  cairo_set_source(cr, gradient);
  cairo_pattern_destroy(gradient);  // the source keeps it
}

}  // namespace

CairoFace CairoFaceOf(PaintFont font) {
  return font == PaintFont::CondensedBold ? CairoFace{TitleFamily, CAIRO_FONT_WEIGHT_BOLD}
                                          : CairoFace{StandardFamily, CAIRO_FONT_WEIGHT_NORMAL};
}

void PaintOnCairo(cairo_t* cr, const Painter& painter) {
  ForEachCommand(painter, [&](const PaintCommand& command) {
    const double* n = command.numbers;
    switch (command.op) {
      case PaintOp::NewPath: cairo_new_path(cr); break;
      case PaintOp::MoveTo: cairo_move_to(cr, n[0], n[1]); break;
      case PaintOp::LineTo: cairo_line_to(cr, n[0], n[1]); break;
      case PaintOp::ClosePath: cairo_close_path(cr); break;
      case PaintOp::Rectangle: cairo_rectangle(cr, n[0], n[1], n[2], n[3]); break;
      case PaintOp::Fill: cairo_fill(cr); break;
      case PaintOp::Stroke: cairo_stroke(cr); break;
      case PaintOp::Paint: cairo_paint(cr); break;
      case PaintOp::SetColour: SetSource(cr, {n[0], n[1], n[2], n[3]}); break;
      case PaintOp::SetLinearGradient: SetLinearGradient(cr, n); break;
      case PaintOp::SetLineWidth: cairo_set_line_width(cr, n[0]); break;
      case PaintOp::SetLineCap:
        cairo_set_line_cap(cr, static_cast<LineCap>(n[0]) == LineCap::Round ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
        break;
      case PaintOp::SetLineJoin:
        cairo_set_line_join(cr, static_cast<LineJoin>(n[0]) == LineJoin::Round ? CAIRO_LINE_JOIN_ROUND
                                                                                : CAIRO_LINE_JOIN_MITER);
        break;
      case PaintOp::Save: cairo_save(cr); break;
      case PaintOp::Restore: cairo_restore(cr); break;
      case PaintOp::GreyAntialias: cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY); break;
      case PaintOp::Text: PaintText(cr, TextOf(painter, command)); break;
      case PaintOp::Count: break;
    }
  });
}

}  // namespace sim
