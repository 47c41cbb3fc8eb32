#include "sim/render/screen_png.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace sim {

namespace {

struct Rgba {
  double red, green, blue, alpha;
};

constexpr Rgba Background{0.42, 0.45, 0.48, 1.0};
constexpr double ChannelMax = 255.0;

constexpr int32_t TitleFont = 7;
constexpr double MetricsFontSize = 256.0;
constexpr const char* StandardFamily = "DejaVu Sans";
constexpr const char* TitleFamily = "DejaVu Sans Condensed";

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

void SetSource(cairo_t* cr, const Rgba& colour) {
  cairo_set_source_rgba(cr, colour.red, colour.green, colour.blue, colour.alpha);
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

void SelectFont(cairo_t* cr, int32_t font, double size, int height) {
  if (font == TitleFont) {
    cairo_select_font_face(cr, TitleFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  } else {
    cairo_select_font_face(cr, StandardFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  }
  // Learn the family's line height at a large size, then scale to the wanted cell: at a size
  // of a pixel or so the hinted metrics round to whole pixels and the text comes out far too small.
  cairo_set_font_size(cr, MetricsFontSize);
  cairo_font_extents_t measured;
  cairo_font_extents(cr, &measured);
  const double line = (measured.ascent + measured.descent) / MetricsFontSize;
  cairo_set_font_size(cr, size * TextCellAtSizeOne * height / (line > 0.0 ? line : 1.0));
}

// Places the current point on the baseline of a line whose top is at (left, top) and returns the text path.
void TextPath(cairo_t* cr, const std::string& text, double left, double top) {
  cairo_font_extents_t extents;
  cairo_font_extents(cr, &extents);
  cairo_new_path(cr);
  cairo_move_to(cr, left, top + extents.ascent);
  cairo_text_path(cr, text.c_str());
}

void DrawText(cairo_t* cr, const DrawnText& drawn, int width, int height) {
  if (!std::isfinite(drawn.x) || !std::isfinite(drawn.y) || !std::isfinite(drawn.style.size)) return;
  if (drawn.text.empty() || drawn.style.size <= 0.0f) return;
  const std::string text = AsUtf8(drawn.text);
  const TextStyle& style = drawn.style;
  SelectFont(cr, style.font, style.size, height);
  const double left = drawn.x * width;
  const double top = drawn.y * height;

  if (style.dropShadow) {
    const auto& s = style.dropShadowArgs;  // distance, red, green, blue, alpha
    const double offset = ShadowOffset * height;
    TextPath(cr, text, left + offset, top + offset);
    SetSource(cr, ColourOf(s[1], s[2], s[3], s[4]));
    cairo_fill(cr);
  }
  TextPath(cr, text, left, top);
  if (style.edge) {
    const auto& e = style.edgeArgs;  // first value, red, green, blue, alpha
    SetSource(cr, ColourOf(e[1], e[2], e[3], e[4]));
    cairo_set_line_width(cr, EdgeWidth * height);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  SetSource(cr, ColourOf(style.colour[0], style.colour[1], style.colour[2], style.colour[3]));
  cairo_fill(cr);
}

void DrawRectangle(cairo_t* cr, const DrawnRect& rect, int width, int height) {
  if (!std::isfinite(rect.x) || !std::isfinite(rect.y) || !std::isfinite(rect.width) || !std::isfinite(rect.height))
    return;
  cairo_new_path(cr);
  cairo_rectangle(cr, (rect.x - rect.width / 2.0) * width, (rect.y - rect.height / 2.0) * height,
                  rect.width * static_cast<double>(width), rect.height * static_cast<double>(height));
  SetSource(cr, ColourOf(rect.red, rect.green, rect.blue, rect.alpha));
  cairo_fill(cr);
}

void DrawFeed(cairo_t* cr, const std::vector<std::string>& notifications, int width, int height) {
  double bottom = FeedBottom * height;
  for (size_t i = notifications.size(); i-- > 0;) {
    const std::string text = AsUtf8(notifications[i]);
    SelectFont(cr, 0, FeedTextSize, height);
    cairo_font_extents_t extents;
    cairo_font_extents(cr, &extents);
    const double padding = FeedPadding * height;
    const double boxHeight = extents.ascent + extents.descent + 2.0 * padding;
    const double top = bottom - boxHeight;
    cairo_text_extents_t ink;
    cairo_text_extents(cr, text.c_str(), &ink);
    const double boxWidth = std::max(FeedWidth * width, ink.x_advance + 2.0 * padding);
    cairo_new_path(cr);
    cairo_rectangle(cr, FeedLeft * width, top, boxWidth, boxHeight);
    SetSource(cr, FeedBox);
    cairo_fill(cr);
    TextPath(cr, text, FeedLeft * width + padding, top + padding);
    SetSource(cr, FeedText);
    cairo_fill(cr);
    bottom = top - FeedGap * height;
  }
}

}  // namespace

void DrawScreenOutput(cairo_t* cr, const Screen& screen, const std::vector<std::string>& notifications, int width,
                      int height) {
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
  for (const ScreenItem& item : screen.order) {
    if (item.kind == ScreenItem::Kind::Rect && item.index < screen.rects.size()) {
      DrawRectangle(cr, screen.rects[item.index], width, height);
    } else if (item.kind == ScreenItem::Kind::Text && item.index < screen.texts.size()) {
      DrawText(cr, screen.texts[item.index], width, height);
    }
  }
  DrawFeed(cr, notifications, width, height);
  cairo_restore(cr);
}

bool WriteScreenPng(const Screen& screen, const std::string& path, int width, int height) {
  return WriteScreenPng(screen, {}, path, width, height);
}

bool WriteScreenPng(const Screen& screen, const std::vector<std::string>& notifications, const std::string& path,
                    int width, int height) {
  if (width < 1 || height < 1 || width > MaxScreenSide || height > MaxScreenSide) return false;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  SetSource(cr, Background);
  cairo_paint(cr);
  DrawScreenOutput(cr, screen, notifications, width, height);
  return FinishPng(cr, surface, path);
}

bool FinishPng(cairo_t* cr, cairo_surface_t* surface, const std::string& path) {
  const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const bool written = drawn && cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written;
}

cairo_surface_t* SurfaceOver(ScreenPicture& picture) {
  return cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(picture.pixels.data()),
                                             CAIRO_FORMAT_RGB24, picture.width, picture.height,
                                             picture.width * static_cast<int>(sizeof(uint32_t)));
}

bool ReadScreenPng(const std::string& path, ScreenPicture& picture) {
  cairo_surface_t* loaded = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(loaded) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(loaded);
    return false;
  }
  // Whatever the file's own format, draw it into plain 24-bit pixels.
  const int width = cairo_image_surface_get_width(loaded);
  const int height = cairo_image_surface_get_height(loaded);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_surface(cr, loaded, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  picture.width = width;
  picture.height = height;
  picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t pixel;
      std::memcpy(&pixel, data + static_cast<ptrdiff_t>(y) * stride + 4 * x, sizeof pixel);
      picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x] = pixel & 0xFFFFFFu;
    }
  }
  cairo_surface_destroy(surface);
  cairo_surface_destroy(loaded);
  return true;
}

std::vector<std::string> NotificationsShown(const World& world, int32_t frame, int32_t frameTimeMs) {
  const int32_t framesShown = frameTimeMs > 0 ? std::max(1, FeedShowMs / frameTimeMs) : 1;
  std::vector<std::string> texts;
  for (const Notification& notification : world.feed)
    if (notification.frame <= frame && frame - notification.frame < framesShown) texts.push_back(notification.text);
  return texts;
}

}  // namespace sim
