// The game timer passing 2^31 ms during a hold of V or a hold-off, through the plugin. Times
// are compared signed as the camera has always compared them; where that leaves the camera
// stuck, the tests pin it.
#include <limits>

#include "camera/exit_key.h"
#include "camera_fixture.h"

namespace vantor_test {
namespace {

constexpr int32_t Int32Max = std::numeric_limits<int32_t>::max();

using HostileTimeTest = CameraTest;

TEST_F(HostileTimeTest, AtTheWrapAHoldInProgressIsCutAndFirstPersonRefused) {
  // Pinned: past 2^31 ms the timer reads negative, below the hold-off's initial end 0, so the
  // hold-off refuses first person from that pass on, for the next 2^31 ms; a hold of V in
  // progress neither prompts nor exits.
  SeatPlayerInCar(world());
  HoldCinematicCamera();
  world().gameTimer = Int32Max - 600;
  Load();
  Frame(100);
  HoldV(true);
  const int32_t pressed = Frame(999);  // max - 500
  ExpectPrompt(pressed, true);
  // The exit step runs before the hold-off: still active, the pass at min + 498 prompts.
  const int32_t wrapped = Frame();
  ExpectPrompt(wrapped, true);
  EXPECT_FALSE(Shown());
  EXPECT_EQ(ViewModeCalls(wrapped), 1);
  for (int i = 0; i < 100; ++i) {
    const int32_t frame = Frame();
    EXPECT_FALSE(Shown());
    EXPECT_EQ(ViewModeCalls(frame), 1) << "the hold-off's only, no exit sequence";
    ExpectPrompt(frame, false);
  }
  HoldV(false);
  world().gameTimer = 0;
  Frame();
  EXPECT_TRUE(Shown());
}

TEST_F(HostileTimeTest, ExitJustBeforeTheWrapIsUndoneAndTheNegativeTimerThenBlocksEveryExit) {
  SeatPlayerInCar(world());
  HoldCinematicCamera();
  world().gameTimer = Int32Max - 3000;
  Load();
  Frame();
  world().gameTimer = Int32Max - 1200;
  HoldV(true);
  Frame(1000);
  // Pinned: the exit at max - 200 sets the hold-off's end to max + 200, which wraps to
  // min + 199; compared signed, the time is not below it, so no hold-off runs and the camera
  // returns in the exit's own pass.
  const int32_t exit = Frame(200);
  EXPECT_TRUE(Shown());
  const std::vector<sim::TraceRecord> render = Calls(exit, "RenderScriptCameras");
  ASSERT_EQ(render.size(), 2u);
  EXPECT_EQ(IntArgument(render[0], 0), 0);
  EXPECT_EQ(IntArgument(render[1], 0), 1);
  EXPECT_EQ(ViewModeCalls(exit), 1);
  HoldV(false);
  Frame(1);  // max
  EXPECT_TRUE(Shown());
  // Once the timer reads negative, the hold-off runs after all, up to min + 199.
  const int32_t wrapped = Frame(198);  // min
  EXPECT_FALSE(Shown());
  EXPECT_EQ(ViewModeCalls(wrapped), 1);
  Frame(1);  // min + 198
  EXPECT_FALSE(Shown());
  Frame();  // min + 199
  EXPECT_TRUE(Shown());

  // Pinned: with the timer negative every press is timed below 0 and does not count, so V
  // draws no prompt and never leaves first person, until the timer is 0 or more again 2^31 ms
  // later.
  HoldV(true);
  for (int i = 0; i < 150; ++i) {
    const int32_t frame = Frame();
    ExpectPrompt(frame, false);
    ASSERT_TRUE(Shown()) << "frame " << frame;
  }
  HoldV(false);
  Frame();
  world().gameTimer = 1000;
  HoldV(true);
  ExpectPrompt(Frame(1000), true);
  Frame();
  EXPECT_FALSE(Shown());
  HoldV(false);
}

}  // namespace
}  // namespace vantor_test
