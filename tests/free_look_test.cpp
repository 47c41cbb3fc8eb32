// Free look: the look controls, their dead zone and limits, and recentering after 800 ms idle.
#include <cmath>
#include <limits>

#include "camera/free_look.h"
#include "camera_fixture.h"

namespace vantor_test {
namespace {

using FreeLookTest = CameraTest;

TEST_F(FreeLookTest, FullDeflectionTurnsTheCameraBySensitivityPerPassUpToTheLimit) {
  SeatPlayerInCar(world(), -1);
  world().lookControls[1] = 1.0f;
  Load();
  for (const float expected : {-35.0f, -70.0f, -100.0f, -100.0f}) {
    RunFrames(1);
    EXPECT_FLOAT_EQ(world().camera.rotation.z, expected);
  }
  // Inactive, the controls are not even read.
  ShowGameplayCamera(world(), true);
  const int32_t frame = NextFrame();
  RunFrames(1);
  EXPECT_EQ(Count(frame, "GetDisabledControlNormal"), 0);
}

class FreeLookStepTest : public CameraTest {
 protected:
  void SetUp() override {
    CameraTest::SetUp();
    StartDirect();
  }
  void Look(float horizontal, float vertical, int32_t gameTime) {
    world().lookControls[1] = horizontal;
    world().lookControls[2] = vertical;
    world().gameTimer = gameTime;
    vantor::UpdateFreeLook(rig, settings);
  }
};

TEST_F(FreeLookStepTest, DeadZoneIsStrictAndEitherAxisMovesBoth) {
  rig.lookYaw = 40.0f;
  rig.lookPitch = 10.0f;
  Look(0.0005f, 0.0f, 800);  // idle, and 800 ms since the latest input at 0
  EXPECT_FLOAT_EQ(rig.lookYaw, 38.0f);
  EXPECT_FLOAT_EQ(rig.lookPitch, 9.5f);
  Look(0.0006f, 0.0f, 900);
  EXPECT_FLOAT_EQ(rig.lookYaw, 38.0f - 0.0006f * 35.0f);
  EXPECT_FLOAT_EQ(rig.lookPitch, 9.5f);
  EXPECT_EQ(rig.lastLookTime, 900);
  // A control the game cannot read is no input.
  Look(std::numeric_limits<float>::quiet_NaN(), 0.0f, 950);
  EXPECT_EQ(rig.lastLookTime, 900);
  EXPECT_FALSE(std::isnan(rig.lookYaw));
}

TEST_F(FreeLookStepTest, PitchIsClampedAtFortyFive) {
  settings.LookSensitivity = 80.0f;
  Look(0.0f, -1.0f, 1000);
  EXPECT_FLOAT_EQ(rig.lookPitch, 45.0f);
  Look(0.0f, 1.0f, 1016);
  Look(0.0f, 1.0f, 1032);
  EXPECT_FLOAT_EQ(rig.lookPitch, -45.0f);
}

TEST_F(FreeLookStepTest, RecentersFromEightHundredMillisecondsIdleOnly) {
  const int32_t input = 5000;
  rig.lookYaw = 40.0f;
  rig.lastLookTime = input;
  Look(0.0f, 0.0f, input + 799);
  EXPECT_FLOAT_EQ(rig.lookYaw, 40.0f);
  Look(0.0f, 0.0f, input + 800);
  EXPECT_FLOAT_EQ(rig.lookYaw, 38.0f);
  Look(0.0f, 0.0f, input + 816);
  EXPECT_FLOAT_EQ(rig.lookYaw, 36.1f);
  // Input during recentering restarts the wait from its own pass.
  Look(0.0f, 0.1f, input + 832);
  Look(0.0f, 0.0f, input + 832 + 799);
  EXPECT_FLOAT_EQ(rig.lookYaw, 36.1f);
  settings.AutoRecenter = false;
  Look(0.0f, 0.0f, input + 60000);
  EXPECT_FLOAT_EQ(rig.lookYaw, 36.1f);
}

TEST_F(FreeLookStepTest, IdleTimeIsCountedAcrossTheTimerWrap) {
  rig.lookYaw = 40.0f;
  rig.lastLookTime = std::numeric_limits<int32_t>::max() - 100;
  Look(0.0f, 0.0f, std::numeric_limits<int32_t>::min() + 698);  // 799 ms later
  EXPECT_FLOAT_EQ(rig.lookYaw, 40.0f);
  Look(0.0f, 0.0f, std::numeric_limits<int32_t>::min() + 699);  // 800 ms later
  EXPECT_FLOAT_EQ(rig.lookYaw, 38.0f);
}

}  // namespace
}  // namespace vantor_test
