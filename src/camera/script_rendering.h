// Switching script-camera rendering on and off, shared by the rig, the exit step and the unload.
#pragma once

#include "camera/camera_rig.h"

namespace vantor {

// The rendering switch with its fixed trailing arguments.
void RenderScriptedCamera(bool on);

// Rendering back to the game, the scripted camera inactive, `active` cleared.
void ReleaseScriptedCamera(CameraRig& rig);

}  // namespace vantor
