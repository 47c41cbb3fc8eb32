#include "camera/script_rendering.h"

#include "game/natives.h"

namespace vantor {

namespace {

// The four arguments after the render flag: no easing, no ease time, then 1 and 0.
constexpr int32_t RenderEase = 0;
constexpr int32_t RenderEaseTime = 0;
constexpr int32_t RenderThirdFlag = 1;
constexpr int32_t RenderFourthFlag = 0;

}  // namespace

void RenderScriptedCamera(bool on) {
  RenderScriptCameras(on ? 1 : 0, RenderEase, RenderEaseTime, RenderThirdFlag, RenderFourthFlag);
}

void ReleaseScriptedCamera(CameraRig& rig) {
  RenderScriptedCamera(false);
  SetCameraActive(rig.camera, false);
  rig.active = false;
}

}  // namespace vantor
