#include "camera/camera_rig.h"

namespace vantor {

float WrapAngle(float degrees) { return degrees; }

void UpdateCameraRig(CameraRig&, const SeatInfo&, int32_t, const Settings&) {}

}  // namespace vantor
