// The plugin's one script: start-up, then one pass of the frame loop per game frame.
#pragma once

#include <cstdint>

#include "camera/camera_rig.h"
#include "settings/settings.h"
#include "ui/menu.h"

namespace vantor {

constexpr uint32_t LoaderDetach = 0;
constexpr uint32_t LoaderAttach = 1;

// The loader's calls, by reason: attach registers the script, detach hands rendering back
// to the game and unregisters it. Returns 1 for every reason.
int32_t HandleLoaderCall(void* module, uint32_t reason);

// Creates and configures the scripted camera, settles the settings and the carried state.
void StartScript(Settings& settings, MenuState& menu, CameraRig& rig);

// One pass without its closing wait: menu, caption, player, seat query, camera rig.
void RunFramePass(Settings& settings, MenuState& menu, CameraRig& rig);

// Registered with ScriptHookV; never returns.
void ScriptMain();

}  // namespace vantor
