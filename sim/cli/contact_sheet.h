// The contact sheet: the run's pictures, small, as a labelled grid in one image, so that a
// reader sees the whole drive at a glance.
#pragma once

#include <string>
#include <vector>

#include "sim/cli/camera_log.h"
#include "sim/core/world.h"
#include "sim/render/screen_png.h"

namespace sim {

constexpr const char* ContactSheetFile = "pictures/overview.png";
constexpr int ContactSheetColumns = 4;
constexpr int ThumbnailWidth = 480;

struct Thumbnail {
  ScreenPicture picture;
  std::string heading;  // the frame and its time
  std::string caption;  // what the frame shows
};

struct ContactSheet {
  std::vector<Thumbnail> thumbnails;
};

// What a frame shows, in a few words: whose camera, speed, field of view, lean, free look,
// the menu, the hold prompt, a notification.
std::string DescribeFrame(const World& world, const CameraSample& sample, int32_t frameTimeMs);

// Adds a picture, scaled down to ThumbnailWidth, with the two lines under it.
void AddToSheet(ContactSheet& sheet, const ScreenPicture& picture, std::string heading, std::string caption);

// The grid, ContactSheetColumns across, each picture over its heading and caption, under a
// title. False when there is nothing to put on it or it cannot be written.
bool WriteContactSheet(const ContactSheet& sheet, const std::string& title, const std::string& path);

}  // namespace sim
