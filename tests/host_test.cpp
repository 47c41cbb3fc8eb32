// Loading, start-up, the frame loop's rhythm and unloading, through the stand-in host.
#include <algorithm>

#include "harness.h"

namespace vantor_test {
namespace {

using HostTest = PluginTest;

TEST_F(HostTest, AttachRegistersTheScriptWithTheLoadersModule) {
  Load();
  const std::vector<std::string> expected = {"0 DllMain(module, 1)", "0 scriptRegister(module)"};
  EXPECT_EQ(AllLines(), expected);
}

TEST_F(HostTest, StartUpCreatesAndConfiguresTheCameraInOrderWithoutRendering) {
  Load();
  RunFrames(1);
  const std::vector<std::string> lines = Lines(0);
  ASSERT_GE(lines.size(), 7u);
  const std::vector<std::string> startUp(lines.begin() + 2, lines.begin() + 6);
  const std::vector<std::string> expected = {
      "0 CreateCameraWithParams(\"DEFAULT_SCRIPTED_CAMERA\", 0f#00000000, 0f#00000000, 0f#00000000, 0f#00000000, "
      "0f#00000000, 0f#00000000, 80f#42A00000, 1, 2) -> 12289",
      "0 SetCameraNearClip(12289, 0.05f#3D4CCCCD)",
      "0 SetCameraFarClip(12289, 10000f#461C4000)",
      "0 SetCameraActive(12289, 0)",
  };
  EXPECT_EQ(startUp, expected);
  EXPECT_EQ(Count(0, "RenderScriptCameras"), 0);
  EXPECT_TRUE(world().camera.created);
  EXPECT_FALSE(world().camera.active);
  EXPECT_FALSE(world().scriptCamerasRendering);
}

TEST_F(HostTest, EveryPassEndsWithOneWaitOfZeroAndNothingElseWaits) {
  Load();
  RunFrames(5);
  for (int32_t frame = 0; frame < 5; ++frame) {
    const std::vector<std::string> lines = Lines(frame);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), std::to_string(frame) + " scriptWait(0)");
    EXPECT_EQ(Count(frame, "scriptWait"), 1) << "frame " << frame;
  }
}

TEST_F(HostTest, EachPassAsksForThePlayerOnce) {
  Load();
  RunFrames(3);
  for (int32_t frame = 0; frame < 3; ++frame) EXPECT_EQ(Count(frame, "PlayerPedId"), 1);
}

TEST_F(HostTest, DetachHandsRenderingBackThenUnregisters) {
  Load();
  RunFrames(2);
  Unload();
  const std::vector<std::string> lines = Lines(2);
  const std::vector<std::string> expected = {"2 DllMain(module, 0)", "2 RenderScriptCameras(0, 0, 0, 1, 0)",
                                             "2 scriptUnregister(module)"};
  EXPECT_EQ(lines, expected);
}

TEST_F(HostTest, DllMainAnswersOneForEveryReason) {
  Load();
  for (const uint32_t reason : {2u, 3u}) EXPECT_EQ(host.dllMain(host.hook.module, reason, nullptr), 1);
  EXPECT_EQ(AllLines().size(), 2u) << "thread attach and detach issue nothing";
  // Attach and detach return 1 through the host, which fails the run otherwise.
}

TEST_F(HostTest, NothingIsWrittenAtStartUpOrUnload) {
  Load();
  RunFrames(3);
  Unload();
  EXPECT_FALSE(std::filesystem::exists(folder / "Vantor.ini"));
}

}  // namespace
}  // namespace vantor_test
