// What the renderer draws, recorded as a list of commands: paths, fills and strokes, a source
// colour or linear gradient, line width, cap and join, save and restore, and text with its edge
// and shadow. The cairo backend (paint_cairo.h) draws a list for pictures and video; the page
// replays the same list on a Canvas. Text is measured while recording (text_metrics.h), so
// every backend places it alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct Rgb {
  double red, green, blue;
};

struct Rgba {
  double red, green, blue, alpha;
};

// The fonts the renderer names (the list carries the number).
enum class PaintFont : uint8_t { Sans, CondensedBold };

enum class LineCap : uint8_t { Butt, Round };
enum class LineJoin : uint8_t { Miter, Round };

// Each command takes PaintOpNumbers[op] numbers from the list's numbers, in order.
enum class PaintOp : uint8_t {
  NewPath,            // -
  MoveTo,             // x y
  LineTo,             // x y
  ClosePath,          // -
  Rectangle,          // x y width height
  Fill,               // - (the path is used up)
  Stroke,             // - (the path is used up)
  Paint,              // - the whole picture in the source
  SetColour,          // red green blue alpha
  SetLinearGradient,  // x0 y0 x1 y1, red green blue at 0, red green blue at 1
  SetLineWidth,       // width
  SetLineCap,         // LineCap
  SetLineJoin,        // LineJoin
  Save,               // -
  Restore,            // -
  GreyAntialias,      // - cairo's grey antialiasing for what follows (a canvas always antialiases)
  Text,               // font size x baseline, text offset and length, fill rgba, edge flag rgba width,
                      // shadow flag rgba x baseline
  Count
};

inline constexpr uint8_t PaintOpNumbers[static_cast<int>(PaintOp::Count)] = {0, 2, 2, 0, 4, 0, 0, 0, 4,
                                                                             10, 1, 1, 1, 0, 0, 0, 23};

// A line of text at (x, baseline) in its font and pixel size, filled in its colour, with an
// optional edge (its outline stroked first, round joins) and drop shadow (the text filled in
// the shadow's colour at its own place, under everything else). The path is left empty.
struct TextRun {
  PaintFont font = PaintFont::Sans;
  double size = 0.0;
  double x = 0.0, baseline = 0.0;
  std::string_view text;  // UTF-8
  Rgba fill{};
  bool edge = false;
  Rgba edgeColour{};
  double edgeWidth = 0.0;
  bool shadow = false;
  Rgba shadowColour{};
  double shadowX = 0.0, shadowBaseline = 0.0;
};

// The list: one byte an operation, its numbers, and the texts' bytes that Text commands point
// into (offset and length among their numbers).
struct Painter {
  std::vector<uint8_t> ops;
  std::vector<double> numbers;
  std::string texts;
};

void NewPath(Painter& painter);
void MoveTo(Painter& painter, double x, double y);
void LineTo(Painter& painter, double x, double y);
void ClosePath(Painter& painter);
void Rectangle(Painter& painter, double x, double y, double width, double height);
void Fill(Painter& painter);
void Stroke(Painter& painter);
void Paint(Painter& painter);
void SetColour(Painter& painter, const Rgba& colour);
void SetColour(Painter& painter, const Rgb& colour, double alpha = 1.0);
void SetLinearGradient(Painter& painter, double x0, double y0, double x1, double y1, const Rgb& at0, const Rgb& at1);
void SetLineWidth(Painter& painter, double width);
void SetLineCap(Painter& painter, LineCap cap);
void SetLineJoin(Painter& painter, LineJoin join);
void Save(Painter& painter);
void Restore(Painter& painter);
void GreyAntialias(Painter& painter);
void DrawText(Painter& painter, const TextRun& run);

// Reading a list back, command by command: the operation and its first number.
struct PaintCommand {
  PaintOp op;
  const double* numbers;
};
// Calls visit(command) for each command in order.
template <typename Visit>
void ForEachCommand(const Painter& painter, Visit visit) {
  size_t next = 0;
  for (const uint8_t op : painter.ops) {
    visit(PaintCommand{static_cast<PaintOp>(op), painter.numbers.data() + next});
    next += PaintOpNumbers[op];
  }
}
// The TextRun a Text command holds; its text points into the painter's texts.
TextRun TextOf(const Painter& painter, const PaintCommand& command);

}  // namespace sim
