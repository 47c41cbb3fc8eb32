#include "sim/cli/picture.h"

#include <charconv>

#include "sim/render/frame.h"

namespace sim {

bool ParsePictureSize(const std::string& text, int minSide, int maxSide, bool even, int& width, int& height) {
  const auto side = [&](const char* first, const char* last, int& value) {
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && value >= minSide && value <= maxSide && (!even || value % 2 == 0);
  };
  const size_t cross = text.find('x');
  if (cross == std::string::npos) return false;
  const char* begin = text.data();
  return side(begin, begin + cross, width) && side(begin + cross + 1, begin + text.size(), height);
}

bool DrawFrame(const World& world, const std::vector<Road>& roads, int32_t frame, int32_t frameTimeMs,
               ScreenPicture& picture) {
  return RenderFrame(world, roads, NotificationsShown(world, frame, frameTimeMs), picture);
}

}  // namespace sim
