#include "camera_fixture.h"

#include "camera/exit_key.h"
#include "game/natives.h"

namespace vantor_test {

void CameraTest::StartDirect() {
  Load();
  RunFrames(1);
  ASSERT_TRUE(world().camera.created);
  ResetRig();
}

void CameraTest::ResetRig() {
  rig = vantor::CameraRig{};
  rig.camera = world().camera.handle;
  rig.smoothedFov = settings.FOV;
  rig.smoothedHeight = settings.Height[rig.classIndex];
}

int32_t CameraTest::Pass(int32_t frameTimeMs) {
  const int32_t frame = world().frame;
  sim::BeginFrame(world());
  const int32_t player = vantor::PlayerPedId();
  const vantor::SeatInfo seatInfo = vantor::QuerySeatInfo(player, rig.rememberedVehicle, settings.BetterHookerView);
  vantor::UpdateCameraRig(rig, seatInfo, player, settings);
  sim::AdvanceWorld(world(), frameTimeMs);
  return frame;
}

std::vector<std::string> CameraTest::StageNames(int32_t frame) const {
  const std::vector<std::string> names = Names(frame);
  std::vector<std::string> stage;
  bool inStage = false;
  for (const std::string& name : names) {
    if (name == "PlayerPedId") inStage = true;
    if (name == "scriptWait") break;
    if (inStage) stage.push_back(name);
  }
  return stage;
}

bool CameraTest::PromptDrawn(int32_t frame) const {
  for (const sim::TraceRecord& record : Calls(frame, "AddTextComponentString"))
    if (TextArgument(record, 0) == vantor::ExitPromptText) return true;
  return false;
}

bool CameraTest::DrawingHasLanded() const {
  for (const sim::TraceRecord& record : trace().records)
    if (std::string(sim::RecordName(record)) == "AddTextComponentString") return true;
  return false;
}

void CameraTest::ExpectPrompt(int32_t frame, bool shown) {
  if (shown && !DrawingHasLanded()) {
    RecordProperty("prompt_check", "skipped until the drawing lands");
    return;
  }
  EXPECT_EQ(PromptDrawn(frame), shown) << "frame " << frame;
}

}  // namespace vantor_test
