// The camera suites' fixture. Two ways to run a pass: through the loaded plugin with its
// default settings (RunFrames), or by calling the seat query and the rig directly with the
// test's own Settings and CameraRig (StartDirect, then Pass), against the same world.
#pragma once

#include <string>
#include <vector>

#include "camera/camera_rig.h"
#include "harness.h"
#include "settings/settings.h"
#include "world_builders.h"

namespace vantor_test {

class CameraTest : public PluginTest {
 protected:
  // Loads the plugin and lets it start up with the player on foot, so its own rig stays idle;
  // then the test's rig takes the plugin's camera. The plugin runs no further passes.
  void StartDirect();
  // Sets the rig to its start-up values for the current settings, keeping the camera.
  void ResetRig();
  // One pass of the player, the seat query and the rig, then the world moves on.
  // Returns the frame the pass ran in.
  int32_t Pass(int32_t frameTimeMs = FrameTimeMs);

  // The calls of the camera stage of a plugin pass: from PlayerPedId to the closing wait,
  // which leaves out the menu and the caption.
  std::vector<std::string> StageNames(int32_t frame) const;
  bool PromptDrawn(int32_t frame) const;
  // Until the drawing helpers are merged nothing reaches the screen; the caption's text shows
  // whether they have.
  bool DrawingHasLanded() const;
  // Expects the hold prompt on a frame, or its absence. A prompt can only be seen once the
  // drawing has landed; before that the expectation of a prompt is skipped, not failed.
  void ExpectPrompt(int32_t frame, bool shown);

  vantor::Settings settings;
  vantor::CameraRig rig;
};

}  // namespace vantor_test
