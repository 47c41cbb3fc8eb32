#include "sim/cli/picture.h"

#include "sim/render/frame.h"

namespace sim {

bool DrawFrame(const World& world, const std::vector<Road>& roads, int32_t frame, int32_t frameTimeMs,
               ScreenPicture& picture) {
  return RenderFrame(world, roads, NotificationsShown(world, frame, frameTimeMs), picture);
}

}  // namespace sim
