#include "sim/render/overlay.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "sim/core/live_overlay.h"
#include "sim/render/text_metrics.h"

namespace sim {

namespace {

constexpr double LineShare = 1.0 / 42.0;  // of the picture's height, a line of text
constexpr double TextShare = 0.8;         // of a line, the text's size
constexpr double BaselineShare = 0.8;     // of a line, from its top to the text's baseline
constexpr double MarginShare = 0.015;     // of the picture's height, from its edges and between boxes
constexpr double Padding = 0.5;           // lines of space inside a box and between columns
constexpr Rgba BoxColour{0.0, 0.0, 0.0, 0.6};
constexpr Rgba TextColour{1.0, 1.0, 1.0, 1.0};
constexpr size_t RememberedWidths = 256;

struct Lines {
  double line;  // pixels a line
  double top;   // of the box
  double right;
};

void AddText(Painter& painter, const std::string& text, double x, double baseline, double size) {
  TextRun run;
  run.size = size;
  run.x = x;
  run.baseline = baseline;
  run.text = text;
  run.fill = TextColour;
  DrawText(painter, run);
}

// The width of a line of the overlay. Its lines come back every frame with other digits, and the
// font's digits are all one width: widths are remembered by the line with its digits as 0.
double WidthOf(const std::string& text, double size) {
  static std::unordered_map<std::string, double> known;
  std::string key = text;
  for (char& c : key) c = c >= '0' && c <= '9' ? '0' : c;
  key += '@' + std::to_string(size);
  if (const auto found = known.find(key); found != known.end()) return found->second;
  if (known.size() >= RememberedWidths) known.clear();
  return known[key] = MeasureAdvance(PaintFont::Sans, size, text);
}

double Widest(const std::vector<std::string>& texts, double size) {
  double width = 0.0;
  for (const std::string& text : texts) width = std::max(width, WidthOf(text, size));
  return width;
}

// A dark box of rows in one or two columns, its top-right corner at (right, top); returns its bottom.
double DrawBox(Painter& painter, const std::vector<std::string>& first, const std::vector<std::string>& second,
               const Lines& at) {
  const double size = at.line * TextShare, pad = Padding * at.line;
  const double firstWidth = Widest(first, size), secondWidth = second.empty() ? 0.0 : pad + Widest(second, size);
  const double width = firstWidth + secondWidth + 2 * pad, height = at.line * first.size() + 2 * pad;
  const double left = at.right - width;
  Rectangle(painter, left, at.top, width, height);
  SetColour(painter, BoxColour);
  Fill(painter);
  for (size_t i = 0; i < first.size(); ++i) {
    const double baseline = at.top + pad + at.line * (i + BaselineShare);
    AddText(painter, first[i], left + pad, baseline, size);
    if (i < second.size()) AddText(painter, second[i], left + pad + firstWidth + pad, baseline, size);
  }
  return at.top + height;
}

}  // namespace

void DrawOverlay(Painter& painter, const std::vector<std::string>& status, bool help, int width, int height) {
  const double line = height * LineShare, margin = height * MarginShare;
  double bottom = 0.0;
  if (!status.empty()) bottom = DrawBox(painter, status, {}, {line, margin, width - margin});
  if (!help) return;
  std::vector<std::string> keys, what;
  for (const KeyHelp& row : LiveKeyHelp) {
    keys.emplace_back(row.keys);
    what.emplace_back(row.what);
  }
  DrawBox(painter, keys, what, {line, bottom + margin, width - margin});
}

}  // namespace sim
