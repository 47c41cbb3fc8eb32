// The camera suites' fixture. Two ways to run a pass: through the loaded plugin with its
// default settings (RunFrames), or by calling the seat query and the rig directly with the
// test's own Settings and CameraRig (StartDirect, then Pass), against the same world.
// Header-only, so suites pick it up without a build change.
#pragma once

#include <string>
#include <vector>

#include "camera/camera_rig.h"
#include "camera/exit_key.h"
#include "game/natives.h"
#include "harness.h"
#include "settings/settings.h"
#include "world_builders.h"

namespace vantor_test {

class CameraTest : public PluginTest {
 protected:
  // Loads the plugin and lets it start up with the player on foot, so its own rig stays idle;
  // then the test's rig takes the plugin's camera. The plugin runs no further passes.
  void StartDirect() {
    Load();
    RunFrames(1);
    ASSERT_TRUE(world().camera.created);
    ResetRig();
  }

  // Sets the rig to its start-up values for the current settings, keeping the camera.
  void ResetRig() {
    rig = vantor::CameraRig{};
    rig.camera = world().camera.handle;
    rig.smoothedFov = settings.FOV;
    rig.smoothedHeight = settings.Height[rig.classIndex];
  }

  // One pass of the player, the seat query and the rig, then the world moves on.
  // Returns the frame the pass ran in.
  int32_t Pass(int32_t frameTimeMs = FrameTimeMs) {
    const int32_t frame = world().frame;
    sim::BeginFrame(world());
    const int32_t player = vantor::PlayerPedId();
    const vantor::SeatInfo seatInfo =
        vantor::QuerySeatInfo(player, rig.rememberedVehicle, settings.BetterHookerView);
    vantor::UpdateCameraRig(rig, seatInfo, player, settings);
    sim::AdvanceWorld(world(), frameTimeMs);
    return frame;
  }

  // The calls of the camera stage of a plugin pass: from PlayerPedId to the closing wait,
  // which leaves out the menu and the caption.
  std::vector<std::string> StageNames(int32_t frame) const {
    std::vector<std::string> stage;
    bool inStage = false;
    for (const std::string& name : Names(frame)) {
      if (name == "PlayerPedId") inStage = true;
      if (name == "scriptWait") break;
      if (inStage) stage.push_back(name);
    }
    return stage;
  }

  // Runs one pass of the plugin, then the game time moves on by advanceMs. Returns the pass's frame.
  int32_t Frame(int32_t advanceMs = FrameTimeMs) {
    const int32_t frame = NextFrame();
    RunFrames(1, advanceMs);
    return frame;
  }
  void HoldV(bool down) { sim::SetKeyDown(world(), vantor::ExitKey, down); }
  bool Shown() { return sim::ScriptedCameraShown(world()); }
  // The cinematic camera held: once first person is left it renders in place of the gameplay
  // camera, so that the hold-off alone decides when first person may return.
  void HoldCinematicCamera() { world().cinematicHeld = true; }
  int ViewModeCalls(int32_t frame) { return Count(frame, "SetVehicleCameraViewMode"); }

  bool PromptDrawn(int32_t frame) const {
    for (const sim::TraceRecord& record : Calls(frame, "AddTextComponentString"))
      if (TextArgument(record, 0) == vantor::ExitPromptText) return true;
    return false;
  }

  // Expects the hold prompt on a frame, or its absence.
  void ExpectPrompt(int32_t frame, bool shown) { EXPECT_EQ(PromptDrawn(frame), shown) << "frame " << frame; }

  vantor::Settings settings;
  vantor::CameraRig rig;
};

}  // namespace vantor_test
