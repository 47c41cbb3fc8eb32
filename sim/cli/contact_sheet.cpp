#include "sim/cli/contact_sheet.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/cli/summary.h"

namespace sim {

namespace {

constexpr int Margin = 16;
constexpr int TitleHeight = 44;
constexpr int LabelHeight = 68;  // the heading and two lines of caption under each picture
constexpr double TitleSize = 24.0, HeadingSize = 17.0, CaptionSize = 15.0;
constexpr double HeadingBaseline = 20.0, CaptionBaseline = 40.0, CaptionLine = 19.0;  // below the picture
constexpr double SheetGrey = 0.13, HeadingGrey = 1.0, CaptionGrey = 0.8;
constexpr size_t CaptionLinesShown = 2;
constexpr const char* SheetFamily = "DejaVu Sans";
constexpr const char* MenuTitle = "VANTOR";
constexpr int32_t SelectedRowInk = 20;  // the selected row's dark label

// Below these the camera is taken as looking ahead and level.
constexpr float LeanShown = 0.5f;
constexpr float LookShown = 10.0f;  // the camera lags a few degrees behind a turn

std::string Formatted(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

void SelectFont(cairo_t* cr, double size, bool bold) {
  cairo_select_font_face(cr, SheetFamily, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
}

void Write(cairo_t* cr, double size, double x, double baseline, const std::string& text, bool bold = false) {
  SelectFont(cr, size, bold);
  cairo_move_to(cr, x, baseline);
  cairo_show_text(cr, text.c_str());
}

// The caption broken after its commas into lines no wider than the picture.
std::vector<std::string> CaptionLines(cairo_t* cr, const std::string& caption) {
  SelectFont(cr, CaptionSize, false);
  std::vector<std::string> lines(1);
  size_t start = 0;
  while (start < caption.size()) {
    size_t end = caption.find(", ", start);
    end = end == std::string::npos ? caption.size() : end + 2;
    const std::string part = caption.substr(start, end - start);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, (lines.back() + part).c_str(), &extents);
    if (!lines.back().empty() && extents.x_advance > ThumbnailWidth) lines.emplace_back();
    lines.back() += part;
    start = end;
  }
  return lines;
}

}  // namespace

std::string DescribeFrame(const World& world, const CameraSample& sample, int32_t frameTimeMs) {
  std::vector<std::string> parts;
  const bool driving = world.player.vehicle != 0;
  switch (sample.rendering) {
    case RenderingCamera::Vantor: parts.push_back(Formatted("Vantor first person, FOV %.1f", sample.fov)); break;
    case RenderingCamera::FirstPerson:
      parts.push_back(std::string("the game's first person, view mode ").append(std::to_string(FirstPersonViewMode)));
      break;
    case RenderingCamera::OtherScript: parts.emplace_back("another script's camera"); break;
    case RenderingCamera::Cinematic: parts.emplace_back("the cinematic camera"); break;
    case RenderingCamera::Cutscene: parts.emplace_back("a cutscene"); break;
    case RenderingCamera::Gameplay:
      parts.push_back(driving ? "game camera, view mode " + std::to_string(world.vehicleCameraViewMode) : "on foot");
      break;
  }
  if (driving && sample.hasVehicle) parts.push_back(Formatted("%.1f m/s", sample.vehicleSpeed));
  if (sample.active && std::fabs(sample.lean) >= LeanShown)
    parts.push_back(Formatted("lean %.1f deg ", std::fabs(sample.lean)) + (sample.lean < 0.0f ? "left" : "right"));
  if (sample.active && std::fabs(sample.lookYaw) >= LookShown)
    parts.push_back(Formatted("looking %.0f deg ", std::fabs(sample.lookYaw)) + (sample.lookYaw > 0.0f ? "left" : "right"));
  for (const DrawnText& text : world.screen.texts) {
    if (text.text == MenuTitle) parts.emplace_back("menu");
    if (text.style.colour[0] == SelectedRowInk && text.text != MenuTitle) parts.push_back("on \"" + text.text + "\"");
    if (text.text == HoldPromptText) parts.emplace_back("hold prompt");
  }
  for (const std::string& notification : NotificationsShown(world, sample.frame, frameTimeMs))
    parts.push_back("\"" + notification + "\"");
  std::string description;
  for (const std::string& part : parts) description += (description.empty() ? "" : ", ") + part;
  return description;
}

void AddToSheet(ContactSheet& sheet, const ScreenPicture& picture, std::string heading, std::string caption) {
  Thumbnail thumbnail{{}, std::move(heading), std::move(caption)};
  ScreenPicture& small = thumbnail.picture;
  small.width = ThumbnailWidth;
  small.height = std::max(1, static_cast<int>(std::lround(static_cast<double>(picture.height) * ThumbnailWidth /
                                                          std::max(1, picture.width))));
  small.pixels.assign(static_cast<size_t>(small.width) * static_cast<size_t>(small.height), 0);
  cairo_surface_t* from = SurfaceOver(const_cast<ScreenPicture&>(picture));
  cairo_surface_t* to = SurfaceOver(small);
  cairo_t* cr = cairo_create(to);
  cairo_scale(cr, static_cast<double>(small.width) / picture.width, static_cast<double>(small.height) / picture.height);
  cairo_set_source_surface(cr, from, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(to);
  cairo_surface_destroy(to);
  cairo_surface_destroy(from);
  sheet.thumbnails.push_back(std::move(thumbnail));
}

bool WriteContactSheet(const ContactSheet& sheet, const std::string& title, const std::string& path) {
  if (sheet.thumbnails.empty()) return false;
  int cellHeight = 0;
  for (const Thumbnail& thumbnail : sheet.thumbnails) cellHeight = std::max(cellHeight, thumbnail.picture.height);
  cellHeight += LabelHeight;
  const int count = static_cast<int>(sheet.thumbnails.size());
  const int columns = std::min(count, ContactSheetColumns);
  const int rows = (count + columns - 1) / columns;
  const int width = Margin + columns * (ThumbnailWidth + Margin);
  const int height = TitleHeight + rows * (cellHeight + Margin);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, SheetGrey, SheetGrey, SheetGrey);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, HeadingGrey, HeadingGrey, HeadingGrey);
  Write(cr, TitleSize, Margin, TitleHeight - Margin, title, true);
  for (int i = 0; i < count; ++i) {
    const Thumbnail& thumbnail = sheet.thumbnails[static_cast<size_t>(i)];
    const double left = Margin + (i % columns) * (ThumbnailWidth + Margin);
    const double top = TitleHeight + (i / columns) * (cellHeight + Margin);
    cairo_surface_t* picture = SurfaceOver(const_cast<ScreenPicture&>(thumbnail.picture));
    cairo_set_source_surface(cr, picture, left, top);
    cairo_paint(cr);
    cairo_surface_destroy(picture);
    const double labelTop = top + thumbnail.picture.height;
    cairo_set_source_rgb(cr, HeadingGrey, HeadingGrey, HeadingGrey);
    Write(cr, HeadingSize, left, labelTop + HeadingBaseline, thumbnail.heading, true);
    cairo_set_source_rgb(cr, CaptionGrey, CaptionGrey, CaptionGrey);
    const std::vector<std::string> lines = CaptionLines(cr, thumbnail.caption);
    for (size_t line = 0; line < lines.size() && line < CaptionLinesShown; ++line)
      Write(cr, CaptionSize, left, labelTop + CaptionBaseline + CaptionLine * static_cast<double>(line), lines[line]);
  }
  return FinishPng(cr, surface, path);
}

}  // namespace sim
