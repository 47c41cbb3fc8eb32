#include "sim/cli/picture.h"

namespace sim {

// Pictures need the screen renderer (sim/render); until it is linked in, none are made.
PictureOutcome TakePicture(const World&, int32_t, const std::string&, int, int) { return PictureOutcome::NoRenderer; }

}  // namespace sim
