// Hold V to leave first person: the prompt, the exit at one second, and the 400 ms hold-off.
#include <limits>

#include "camera/exit_key.h"
#include "camera_fixture.h"

namespace vantor_test {
namespace {

using ExitKeyTest = CameraTest;

TEST_F(ExitKeyTest, PromptUntilNineNineNineThenTheExitAndTheHoldOff) {
  SeatPlayerInCar(world());
  HoldCinematicCamera();
  Load();
  Frame();
  ASSERT_TRUE(Shown());
  HoldV(true);
  const int32_t pressed = Frame(500);  // elapsed 0
  const int32_t middle = Frame(499);   // 500
  const int32_t last = Frame(1);       // 999
  for (const int32_t frame : {pressed, middle, last}) {
    ExpectPrompt(frame, true);
    EXPECT_EQ(ViewModeCalls(frame), 0);
  }
  EXPECT_TRUE(Shown());

  const int32_t exit = Frame(399);  // 1000
  EXPECT_FALSE(Shown());
  ExpectPrompt(exit, false);
  const std::vector<std::string> stage = StageNames(exit);
  const auto afterClass = std::find(stage.begin(), stage.end(), "GetVehicleClass") + 1;
  const std::vector<std::string> expected = {"GetAsyncKeyState", "GetGameTimer", "RenderScriptCameras",
                                             "SetCameraActive", "SetVehicleCameraViewMode", "GetGameTimer",
                                             "GetGameTimer", "SetVehicleCameraViewMode"};
  EXPECT_EQ(std::vector<std::string>(afterClass, stage.end()), expected);
  EXPECT_EQ(IntArgument(Calls(exit, "RenderScriptCameras")[0], 0), 0);
  EXPECT_EQ(world().vehicleCameraViewMode, 0);

  // V still held: the hold-off runs its 400 ms, then first person returns and stays.
  const int32_t lastHeldOff = Frame(1);  // 1399
  EXPECT_FALSE(Shown());
  EXPECT_EQ(ViewModeCalls(lastHeldOff), 1);
  for (int i = 0; i < 80; ++i) {
    const int32_t frame = Frame();
    EXPECT_TRUE(Shown()) << "frame " << frame;
    EXPECT_EQ(ViewModeCalls(frame), 0);
    ExpectPrompt(frame, false);
  }
}

TEST_F(ExitKeyTest, ReleasingBeforeOneSecondKeepsFirstPersonAndTheNextPressStartsAfresh) {
  SeatPlayerInCar(world());
  Load();
  Frame();
  HoldV(true);
  Frame(900);
  HoldV(false);
  Frame(600);  // released at 900
  EXPECT_TRUE(Shown());
  HoldV(true);
  Frame(999);
  const int32_t stillHeld = Frame(1);
  ExpectPrompt(stillHeld, true);
  EXPECT_TRUE(Shown());
  Frame();
  EXPECT_FALSE(Shown());
}

TEST_F(ExitKeyTest, APressFromBeforeActivationCountsFromItsStart) {
  SeatPlayerInCar(world());
  ShowGameplayCamera(world(), true);
  Load();
  HoldV(true);
  for (int i = 0; i < 125; ++i) {
    const int32_t frame = Frame();
    ExpectPrompt(frame, false);
    EXPECT_EQ(ViewModeCalls(frame), 0);
  }
  ShowGameplayCamera(world(), false);
  Frame();
  EXPECT_TRUE(Shown());
  const int32_t exit = Frame();
  EXPECT_FALSE(Shown());
  EXPECT_EQ(ViewModeCalls(exit), 2);
}

TEST_F(ExitKeyTest, HeldTimeWrapsAroundWithTheTimer) {
  // A press begun just before the timer passes 2^31 ms is timed across it without overflow.
  SeatPlayerInCar(world());
  world().gameTimer = std::numeric_limits<int32_t>::max() - 600;
  Load();
  Frame(100);
  ASSERT_TRUE(Shown());
  HoldV(true);
  Frame(999);  // pressed at max - 500
  ResetRig();
  rig.active = true;
  rig.exitKeyWasDown = true;
  rig.exitPressTime = std::numeric_limits<int32_t>::max() - 500;
  ASSERT_LT(world().gameTimer, 0);  // 999 ms held, the timer now reads negative
  vantor::UpdateExitKey(rig);
  EXPECT_TRUE(rig.active);
  world().gameTimer += 1;  // 1000 ms held
  vantor::UpdateExitKey(rig);
  EXPECT_FALSE(rig.active);
  EXPECT_EQ(rig.holdOffUntil, std::numeric_limits<int32_t>::min() + 899);
  HoldV(false);
}

TEST_F(ExitKeyTest, ANegativeTimerReadsAsAHoldOffUntilItTurnsNonNegative) {
  // The hold-off end is compared signed: from 2^31 ms on the timer reads negative, below the
  // initial end of 0, so view mode 0 is forced and first person refused until it is 0 or more.
  SeatPlayerInCar(world());
  HoldCinematicCamera();
  world().gameTimer = std::numeric_limits<int32_t>::max() - 40;
  Load();
  Frame();
  ASSERT_TRUE(Shown());
  Frame(100);  // the timer passes 2^31 ms
  const int32_t negative = Frame();
  EXPECT_FALSE(Shown());
  EXPECT_EQ(ViewModeCalls(negative), 1);
  world().gameTimer = 0;
  const int32_t sane = Frame();
  EXPECT_EQ(ViewModeCalls(sane), 0);
  EXPECT_TRUE(Shown());
}

}  // namespace
}  // namespace vantor_test
