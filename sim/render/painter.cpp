#include "sim/render/painter.h"

#include <initializer_list>

namespace sim {

namespace {

void Record(Painter& painter, PaintOp op, std::initializer_list<double> numbers = {}) {
  painter.ops.push_back(static_cast<uint8_t>(op));
  painter.numbers.insert(painter.numbers.end(), numbers);
}

double Flag(bool value) { return value ? 1.0 : 0.0; }

}  // namespace

void NewPath(Painter& painter) { Record(painter, PaintOp::NewPath); }
void MoveTo(Painter& painter, double x, double y) { Record(painter, PaintOp::MoveTo, {x, y}); }
void LineTo(Painter& painter, double x, double y) { Record(painter, PaintOp::LineTo, {x, y}); }
void ClosePath(Painter& painter) { Record(painter, PaintOp::ClosePath); }
void Rectangle(Painter& painter, double x, double y, double width, double height) {
  Record(painter, PaintOp::Rectangle, {x, y, width, height});
}
void Fill(Painter& painter) { Record(painter, PaintOp::Fill); }
void Stroke(Painter& painter) { Record(painter, PaintOp::Stroke); }
void Paint(Painter& painter) { Record(painter, PaintOp::Paint); }
void SetColour(Painter& painter, const Rgba& colour) {
  Record(painter, PaintOp::SetColour, {colour.red, colour.green, colour.blue, colour.alpha});
}
void SetColour(Painter& painter, const Rgb& colour, double alpha) {
  SetColour(painter, Rgba{colour.red, colour.green, colour.blue, alpha});
}
void SetLinearGradient(Painter& painter, double x0, double y0, double x1, double y1, const Rgb& at0, const Rgb& at1) {
  Record(painter, PaintOp::SetLinearGradient,
         {x0, y0, x1, y1, at0.red, at0.green, at0.blue, at1.red, at1.green, at1.blue});
}
void SetLineWidth(Painter& painter, double width) { Record(painter, PaintOp::SetLineWidth, {width}); }
void SetLineCap(Painter& painter, LineCap cap) { Record(painter, PaintOp::SetLineCap, {static_cast<double>(cap)}); }
void SetLineJoin(Painter& painter, LineJoin join) {
  Record(painter, PaintOp::SetLineJoin, {static_cast<double>(join)});
}
void Save(Painter& painter) { Record(painter, PaintOp::Save); }
void Restore(Painter& painter) { Record(painter, PaintOp::Restore); }
void GreyAntialias(Painter& painter) { Record(painter, PaintOp::GreyAntialias); }

void DrawText(Painter& painter, const TextRun& run) {
  const auto offset = static_cast<double>(painter.texts.size());
  painter.texts.append(run.text);
  const Rgba& f = run.fill;
  const Rgba& e = run.edgeColour;
  const Rgba& s = run.shadowColour;
  Record(painter, PaintOp::Text,
         {static_cast<double>(run.font), run.size, run.x, run.baseline, offset, static_cast<double>(run.text.size()),
          f.red, f.green, f.blue, f.alpha, Flag(run.edge), e.red, e.green, e.blue, e.alpha, run.edgeWidth,
          Flag(run.shadow), s.red, s.green, s.blue, s.alpha, run.shadowX, run.shadowBaseline});
}

TextRun TextOf(const Painter& painter, const PaintCommand& command) {
  const double* n = command.numbers;
  TextRun run;
  run.font = static_cast<PaintFont>(n[0]);
  run.size = n[1];
  run.x = n[2];
  run.baseline = n[3];
  run.text = std::string_view(painter.texts).substr(static_cast<size_t>(n[4]), static_cast<size_t>(n[5]));
  run.fill = {n[6], n[7], n[8], n[9]};
  run.edge = n[10] != 0.0;
  run.edgeColour = {n[11], n[12], n[13], n[14]};
  run.edgeWidth = n[15];
  run.shadow = n[16] != 0.0;
  run.shadowColour = {n[17], n[18], n[19], n[20]};
  run.shadowX = n[21];
  run.shadowBaseline = n[22];
  return run;
}

}  // namespace sim
