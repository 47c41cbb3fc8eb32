// The window's input as the live loop's: SDL's keyboard and mouse events, and a game controller
// through SDL's virtual joystick. No display is needed.
#include "sim/sdl/drive_input.h"

#include <gtest/gtest.h>

namespace {

SDL_Event Key(SDL_Scancode scancode, bool down, bool repeat = false) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.repeat = repeat ? 1 : 0;
  event.key.keysym.scancode = scancode;
  return event;
}

SDL_Event Motion(int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.xrel = x;
  event.motion.yrel = y;
  return event;
}

std::vector<std::pair<int32_t, bool>> Edges(const sim::LiveInputs& inputs) {
  std::vector<std::pair<int32_t, bool>> edges;
  for (const sim::KeyEdge& edge : inputs.keys) edges.emplace_back(edge.key, edge.down);
  return edges;
}

TEST(DriveInput, KeysReachThePluginInOrderAndTheWindowKeepsItsOwn) {
  sim::DriveInput input;
  for (const SDL_Event& event : {Key(SDL_SCANCODE_V, true), Key(SDL_SCANCODE_V, true, true), Key(SDL_SCANCODE_V, false),
                                 Key(SDL_SCANCODE_KP_8, true), Key(SDL_SCANCODE_KP_ENTER, true),
                                 Key(SDL_SCANCODE_F1, true), Key(SDL_SCANCODE_F12, true), Key(SDL_SCANCODE_F, true),
                                 Key(SDL_SCANCODE_W, true), Key(SDL_SCANCODE_A, true), Key(SDL_SCANCODE_ESCAPE, true)})
    sim::HandleDriveEvent(input, event);
  const sim::LiveInputs first = sim::TakeLiveInputs(input);
  const std::vector<std::pair<int32_t, bool>> expected{{0x56, true}, {0x56, false}, {0x68, true}, {0x0D, true}};
  EXPECT_EQ(Edges(first), expected) << "a repeat is no transition; F1, F12, F, W, A and Esc stay with the window";
  EXPECT_TRUE(first.enterOrLeave);
  EXPECT_EQ(first.motion.throttle, 1.0f);
  EXPECT_EQ(first.motion.steer, -1.0f);
  EXPECT_TRUE(input.help);
  EXPECT_TRUE(input.screenshot);
  EXPECT_FALSE(input.mouseCaptured) << "Esc frees the mouse";

  const sim::LiveInputs next = sim::TakeLiveInputs(input);
  EXPECT_TRUE(next.keys.empty());
  EXPECT_FALSE(next.enterOrLeave) << "F is one press";
  EXPECT_EQ(next.motion.throttle, 1.0f) << "W is still held";
}

TEST(DriveInput, TheMouseLooksOnlyWhileCaptured) {
  sim::DriveInput input;
  sim::HandleDriveEvent(input, Motion(40, -10));
  sim::HandleDriveEvent(input, Motion(60, 0));
  const sim::LiveInputs looked = sim::TakeLiveInputs(input);
  EXPECT_FLOAT_EQ(looked.lookX, 100 * sim::MouseLookPerPixel);
  EXPECT_FLOAT_EQ(looked.lookY, -10 * sim::MouseLookPerPixel);
  sim::HandleDriveEvent(input, Motion(5000, 0));
  EXPECT_EQ(sim::TakeLiveInputs(input).lookX, 1.0f) << "a normal stays within -1 to 1";
  EXPECT_EQ(sim::TakeLiveInputs(input).lookX, 0.0f) << "a still mouse is no look input";

  sim::HandleDriveEvent(input, Key(SDL_SCANCODE_ESCAPE, true));
  sim::HandleDriveEvent(input, Motion(40, 40));
  EXPECT_EQ(sim::TakeLiveInputs(input).lookX, 0.0f) << "a free mouse does not look";
  SDL_Event click{};
  click.type = SDL_MOUSEBUTTONDOWN;
  sim::HandleDriveEvent(input, click);
  EXPECT_TRUE(input.mouseCaptured) << "a click captures it again";
}

TEST(DriveInput, AControllerDrivesAndLooks) {
  ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.name = "virtual pad";
  ASSERT_GE(SDL_JoystickAttachVirtualEx(&desc), 0) << SDL_GetError();

  sim::DriveInput input;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) sim::HandleDriveEvent(input, event);
  ASSERT_NE(input.controller, nullptr) << "the added controller is opened";
  SDL_Joystick* stick = SDL_GameControllerGetJoystick(input.controller);
  const auto set = [&](SDL_GameControllerAxis axis, int16_t value) { SDL_JoystickSetVirtualAxis(stick, axis, value); };
  set(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  // A trigger's raw axis runs from -32768 (resting) to 32767 (pulled); SDL reports 0 to 32767.
  set(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
  set(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -31168);  // resting, within the trigger's dead zone
  set(SDL_CONTROLLER_AXIS_RIGHTX, -32768);
  set(SDL_CONTROLLER_AXIS_RIGHTY, 3000);  // resting, within the stick's dead zone
  SDL_GameControllerUpdate();
  sim::LiveInputs inputs = sim::TakeLiveInputs(input);
  EXPECT_EQ(inputs.motion.steer, 1.0f);
  EXPECT_NEAR(inputs.motion.throttle, (0.5f - sim::TriggerDeadZone) / (1.0f - sim::TriggerDeadZone), 1e-4);
  EXPECT_EQ(inputs.motion.brake, 0.0f);
  EXPECT_EQ(inputs.lookX, -1.0f);
  EXPECT_EQ(inputs.lookY, 0.0f) << "a resting stick neither drifts the view nor holds off recentring";

  sim::HandleDriveEvent(input, Key(SDL_SCANCODE_A, true));
  EXPECT_EQ(sim::TakeLiveInputs(input).motion.steer, -1.0f) << "a key held wins over the stick";

  const SDL_JoystickID id = SDL_JoystickInstanceID(stick);
  SDL_JoystickDetachVirtual(0);
  while (SDL_PollEvent(&event) != 0) sim::HandleDriveEvent(input, event);
  EXPECT_EQ(input.controller, nullptr) << "controller " << id << " is closed when it goes";
  SDL_Quit();
}

}  // namespace
