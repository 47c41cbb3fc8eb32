#include "sim/render/screen_output.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "sim/render/text_metrics.h"

namespace sim {

namespace {

constexpr double ChannelMax = 255.0;

constexpr int32_t TitleFont = 7;
constexpr double MetricsFontSize = 256.0;

// The feed: boxes in the lower-left corner, in fractions of the screen.
constexpr double FeedLeft = 0.012;
constexpr double FeedWidth = 0.2;
constexpr double FeedBottom = 0.96;
constexpr double FeedPadding = 0.006;
constexpr double FeedGap = 0.004;
constexpr double FeedTextSize = 0.3;
constexpr Rgba FeedBox{0.0, 0.0, 0.0, 0.7};
constexpr Rgba FeedText{1.0, 1.0, 1.0, 1.0};

Rgba ColourOf(int32_t red, int32_t green, int32_t blue, int32_t alpha) {
  auto channel = [](int32_t value) {
    return static_cast<double>(value < 0 ? 0 : value > 255 ? 255 : value) / ChannelMax;
  };
  return {channel(red), channel(green), channel(blue), channel(alpha)};
}

// Cairo stops drawing altogether on text that is not UTF-8, so anything else shows as '?'.
std::string AsUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    bool valid = length != 0 && i + length <= text.size() && !(lead == 0xC0 || lead == 0xC1);
    for (size_t k = 1; valid && k < length; ++k) valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    if (valid) {
      out.append(text, i, length);
      i += length;
    } else {
      out += '?';
      ++i;
    }
  }
  return out;
}

struct SizedFont {
  PaintFont font;
  double size;  // pixels
};

// Text of size s fills a cell of TextCellAtSizeOne * s of the height: the family's line height
// is learnt at a large size, then scaled to the wanted cell (at a size of a pixel or so the
// hinted metrics round to whole pixels and the text comes out far too small).
SizedFont FontFor(int32_t font, double size, int height) {
  const PaintFont face = font == TitleFont ? PaintFont::CondensedBold : PaintFont::Sans;
  const FontMetrics measured = MeasureFont(face, MetricsFontSize);
  const double line = (measured.ascent + measured.descent) / MetricsFontSize;
  return {face, size * TextCellAtSizeOne * height / (line > 0.0 ? line : 1.0)};
}

// A run of text whose line's top is at (left, top), in white.
TextRun RunAt(const SizedFont& font, const std::string& text, double left, double top) {
  TextRun run;
  run.font = font.font;
  run.size = font.size;
  run.text = text;
  run.x = left;
  run.baseline = top + MeasureFont(font.font, font.size).ascent;
  run.fill = FeedText;
  return run;
}

void DrawText(Painter& painter, const DrawnText& drawn, int width, int height) {
  if (!std::isfinite(drawn.x) || !std::isfinite(drawn.y) || !std::isfinite(drawn.style.size)) return;
  if (drawn.text.empty() || drawn.style.size <= 0.0f) return;
  const std::string text = AsUtf8(drawn.text);
  const TextStyle& style = drawn.style;
  const SizedFont font = FontFor(style.font, style.size, height);
  const double left = drawn.x * width;
  const double top = drawn.y * height;

  TextRun run = RunAt(font, text, left, top);
  run.fill = ColourOf(style.colour[0], style.colour[1], style.colour[2], style.colour[3]);
  if (style.dropShadow) {
    const auto& s = style.dropShadowArgs;  // distance, red, green, blue, alpha
    const double offset = ShadowOffset * height;
    const TextRun shadow = RunAt(font, text, left + offset, top + offset);
    run.shadow = true;
    run.shadowX = shadow.x;
    run.shadowBaseline = shadow.baseline;
    run.shadowColour = ColourOf(s[1], s[2], s[3], s[4]);
  }
  if (style.edge) {
    const auto& e = style.edgeArgs;  // first value, red, green, blue, alpha
    run.edge = true;
    run.edgeColour = ColourOf(e[1], e[2], e[3], e[4]);
    run.edgeWidth = EdgeWidth * height;
  }
  DrawText(painter, run);
}

void DrawRectangle(Painter& painter, const DrawnRect& rect, int width, int height) {
  if (!std::isfinite(rect.x) || !std::isfinite(rect.y) || !std::isfinite(rect.width) || !std::isfinite(rect.height))
    return;
  NewPath(painter);
  Rectangle(painter, (rect.x - rect.width / 2.0) * width, (rect.y - rect.height / 2.0) * height,
            rect.width * static_cast<double>(width), rect.height * static_cast<double>(height));
  SetColour(painter, ColourOf(rect.red, rect.green, rect.blue, rect.alpha));
  Fill(painter);
}

void DrawFeed(Painter& painter, const std::vector<std::string>& notifications, int width, int height) {
  const SizedFont font = FontFor(0, FeedTextSize, height);
  const FontMetrics extents = MeasureFont(font.font, font.size);
  const double padding = FeedPadding * height;
  const double boxHeight = extents.ascent + extents.descent + 2.0 * padding;
  double bottom = FeedBottom * height;
  for (size_t i = notifications.size(); i-- > 0;) {
    const std::string text = AsUtf8(notifications[i]);
    const double top = bottom - boxHeight;
    const double boxWidth = std::max(FeedWidth * width, MeasureAdvance(font.font, font.size, text) + 2.0 * padding);
    NewPath(painter);
    Rectangle(painter, FeedLeft * width, top, boxWidth, boxHeight);
    SetColour(painter, FeedBox);
    Fill(painter);
    DrawText(painter, RunAt(font, text, FeedLeft * width + padding, top + padding));
    bottom = top - FeedGap * height;
  }
}

}  // namespace

void DrawScreenOutput(Painter& painter, const Screen& screen, const std::vector<std::string>& notifications, int width,
                      int height) {
  Save(painter);
  GreyAntialias(painter);
  for (const ScreenItem& item : screen.order) {
    if (item.kind == ScreenItem::Kind::Rect && item.index < screen.rects.size()) {
      DrawRectangle(painter, screen.rects[item.index], width, height);
    } else if (item.kind == ScreenItem::Kind::Text && item.index < screen.texts.size()) {
      DrawText(painter, screen.texts[item.index], width, height);
    }
  }
  DrawFeed(painter, notifications, width, height);
  Restore(painter);
}

std::vector<std::string> NotificationsShown(const World& world, int32_t frame, int32_t frameTimeMs) {
  const int32_t framesShown = frameTimeMs > 0 ? std::max(1, FeedShowMs / frameTimeMs) : 1;
  std::vector<std::string> texts;
  for (const Notification& notification : world.feed)
    if (notification.frame <= frame && frame - notification.frame < framesShown) texts.push_back(notification.text);
  return texts;
}

}  // namespace sim
