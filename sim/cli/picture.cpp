#include "sim/cli/picture.h"

#include "sim/render/screen_png.h"

namespace sim {

bool TakePicture(const World& world, int32_t frame, const std::string& path, int width, int height) {
  return WriteScreenPng(world.screen, NotificationsOfFrame(world, frame), path, width, height);
}

}  // namespace sim
