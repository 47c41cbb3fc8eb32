#include "sim/render/paint_cairo.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cmath>
#include <cstdint>
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

// A tilted linear gradient over whole pixels, written straight into the picture. pixman works a
// tilted gradient out pixel by pixel: the sky's took 5.5 ms of a 15 ms frame at 1280x720 when the
// horizon leant in a bend, a third of the live drive's budget. Here each pixel looks its colour
// up in a table: about 0.4 ms for the same rows. A level gradient (the same along a row) is left
// to pixman, which fills its rows whole.
struct GradientFill {
  static constexpr int Steps = 1024;  // colours along the gradient: four or more per 8-bit step
  std::array<uint32_t, Steps + 1> colours;
  double x0, y0, perX, perY;  // t = (x - x0) * perX + (y - y0) * perY at a pixel's centre
};

uint32_t OpaquePixel(double red, double green, double blue) {
  const auto channel = [](double c) { return static_cast<uint32_t>(std::clamp(c, 0.0, 1.0) * 255.0 + 0.5); };
  return 0xFF000000u | channel(red) << 16 | channel(green) << 8 | channel(blue);
}

// n: x0 y0 x1 y1, red green blue at 0, red green blue at 1.
GradientFill MakeGradientFill(const double* n) {
  GradientFill fill{};
  const double dx = n[2] - n[0], dy = n[3] - n[1], lengthSquared = dx * dx + dy * dy;
  fill.x0 = n[0];
  fill.y0 = n[1];
  fill.perX = dx / lengthSquared;
  fill.perY = dy / lengthSquared;
  for (int i = 0; i <= GradientFill::Steps; ++i) {
    const double t = static_cast<double>(i) / GradientFill::Steps;
    fill.colours[i] = OpaquePixel(n[4] + (n[7] - n[4]) * t, n[5] + (n[8] - n[5]) * t, n[6] + (n[9] - n[6]) * t);
  }
  return fill;
}

// True when the gradient changes along a row and is not degenerate: the case worth the table.
bool IsTilted(const double* n) {
  const double dx = n[2] - n[0], dy = n[3] - n[1];
  return dx != 0.0 && std::isfinite(dx) && std::isfinite(dy) && std::isfinite(dx * dx + dy * dy);
}

// Fills the rows [top, bottom) and columns [left, right) of the target, already clipped to it.
void FillWithGradient(cairo_surface_t* target, const GradientFill& fill, int left, int top, int right, int bottom) {
  cairo_surface_flush(target);
  unsigned char* data = cairo_image_surface_get_data(target);
  const int stride = cairo_image_surface_get_stride(target);
  for (int y = top; y < bottom; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    const double rowT = (y + 0.5 - fill.y0) * fill.perY;
    for (int x = left; x < right; ++x) {
      const double t = std::clamp(rowT + (x + 0.5 - fill.x0) * fill.perX, 0.0, 1.0);
      row[x] = fill.colours[static_cast<size_t>(t * GradientFill::Steps + 0.5)];
    }
  }
  cairo_surface_mark_dirty_rectangle(target, left, top, right - left, bottom - top);
}

// The painter's state that decides whether a fill can take the table: the gradient set last
// (none after a colour or a restore) and the path, when it is one rectangle of whole pixels.
struct FastFillState {
  const double* gradient = nullptr;
  const double* rectangle = nullptr;
  int pathCommands = 0;
};

bool IsWholePixels(const double* r) {
  for (int i = 0; i < 4; ++i)
    if (!std::isfinite(r[i]) || r[i] != std::floor(r[i]) || std::fabs(r[i]) > 1e6) return false;
  return r[2] > 0.0 && r[3] > 0.0;
}

// Keeps what the next fill may take the table for.
void NoteForFastFill(FastFillState& fast, const PaintCommand& command) {
  const double* n = command.numbers;
  switch (command.op) {
    case PaintOp::MoveTo:
    case PaintOp::LineTo:
    case PaintOp::ClosePath: ++fast.pathCommands; break;
    case PaintOp::Rectangle:
      ++fast.pathCommands;
      fast.rectangle = n;
      break;
    case PaintOp::NewPath:
    case PaintOp::Fill:
    case PaintOp::Stroke:
    case PaintOp::Text:
      fast.pathCommands = 0;
      fast.rectangle = nullptr;
      break;
    case PaintOp::SetColour:
    case PaintOp::Restore: fast.gradient = nullptr; break;
    case PaintOp::SetLinearGradient: fast.gradient = n; break;
    default: break;
  }
}

// Fills the path, or the whole target for a paint, with the tilted gradient in the table when
// the state allows; false when cairo must draw it.
bool FillFast(cairo_t* cr, const FastFillState& state, bool whole) {
  if (state.gradient == nullptr || !IsTilted(state.gradient)) return false;
  cairo_surface_t* target = cairo_get_target(cr);
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(target) != CAIRO_FORMAT_RGB24 ||
      cairo_get_operator(cr) != CAIRO_OPERATOR_OVER)
    return false;
  const int width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
  int left = 0, top = 0, right = width, bottom = height;
  if (!whole) {
    if (state.pathCommands != 1 || state.rectangle == nullptr || !IsWholePixels(state.rectangle)) return false;
    const double* r = state.rectangle;
    left = static_cast<int>(std::clamp(r[0], 0.0, static_cast<double>(width)));
    top = static_cast<int>(std::clamp(r[1], 0.0, static_cast<double>(height)));
    right = static_cast<int>(std::clamp(r[0] + r[2], 0.0, static_cast<double>(width)));
    bottom = static_cast<int>(std::clamp(r[1] + r[3], 0.0, static_cast<double>(height)));
    cairo_new_path(cr);  // the fill uses the path up
  }
  if (left < right && top < bottom) FillWithGradient(target, MakeGradientFill(state.gradient), left, top, right, bottom);
  return true;
}

}  // namespace

CairoFace CairoFaceOf(PaintFont font) {
  return font == PaintFont::CondensedBold ? CairoFace{TitleFamily, CAIRO_FONT_WEIGHT_BOLD}
                                          : CairoFace{StandardFamily, CAIRO_FONT_WEIGHT_NORMAL};
}

void PaintOnCairo(cairo_t* cr, const Painter& painter) {
  FastFillState fast;
  ForEachCommand(painter, [&](const PaintCommand& command) {
    const double* n = command.numbers;
    switch (command.op) {
      case PaintOp::NewPath: cairo_new_path(cr); break;
      case PaintOp::MoveTo: cairo_move_to(cr, n[0], n[1]); break;
      case PaintOp::LineTo: cairo_line_to(cr, n[0], n[1]); break;
      case PaintOp::ClosePath: cairo_close_path(cr); break;
      case PaintOp::Rectangle: cairo_rectangle(cr, n[0], n[1], n[2], n[3]); break;
      case PaintOp::Fill:
        if (!FillFast(cr, fast, false)) cairo_fill(cr);
        break;
      case PaintOp::Stroke: cairo_stroke(cr); break;
      case PaintOp::Paint:
        if (!FillFast(cr, fast, true)) cairo_paint(cr);
        break;
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
    NoteForFastFill(fast, command);
  });
}

}  // namespace sim
