#include "sim/sdl/drive_input.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

constexpr float StickFullTravel = 32767.0f;

struct PluginKey {
  SDL_Scancode scancode;
  int32_t virtualKey;
};

// The keys the plugin reads, as in the game; both Enter keys are Enter.
constexpr PluginKey PluginKeys[] = {
    {SDL_SCANCODE_V, 0x56},    {SDL_SCANCODE_F6, 0x75},    {SDL_SCANCODE_UP, 0x26},     {SDL_SCANCODE_DOWN, 0x28},
    {SDL_SCANCODE_LEFT, 0x25}, {SDL_SCANCODE_RIGHT, 0x27}, {SDL_SCANCODE_RETURN, 0x0D}, {SDL_SCANCODE_KP_ENTER, 0x0D},
    {SDL_SCANCODE_KP_0, 0x60}, {SDL_SCANCODE_KP_1, 0x61},  {SDL_SCANCODE_KP_2, 0x62},   {SDL_SCANCODE_KP_3, 0x63},
    {SDL_SCANCODE_KP_4, 0x64}, {SDL_SCANCODE_KP_5, 0x65},  {SDL_SCANCODE_KP_6, 0x66},   {SDL_SCANCODE_KP_7, 0x67},
    {SDL_SCANCODE_KP_8, 0x68}, {SDL_SCANCODE_KP_9, 0x69},
};

void HandleKey(DriveInput& input, const SDL_KeyboardEvent& key) {
  const bool down = key.type == SDL_KEYDOWN;
  if (down && key.repeat != 0) return;  // held keys repeat; the game sees one transition
  if (const int32_t virtualKey = PluginKeyOf(key.keysym.scancode); virtualKey != 0) {
    input.keys.push_back({virtualKey, down});
    return;
  }
  switch (key.keysym.scancode) {
    case SDL_SCANCODE_W:
      input.forward = down;
      break;
    case SDL_SCANCODE_S:
      input.backward = down;
      break;
    case SDL_SCANCODE_A:
      input.left = down;
      break;
    case SDL_SCANCODE_D:
      input.right = down;
      break;
    case SDL_SCANCODE_F:
      input.enterOrLeave = input.enterOrLeave || down;
      break;
    case SDL_SCANCODE_F1:
      input.help = down ? !input.help : input.help;
      break;
    case SDL_SCANCODE_F12:
      input.screenshot = input.screenshot || down;
      break;
    case SDL_SCANCODE_ESCAPE:
      input.mouseCaptured = down ? false : input.mouseCaptured;
      break;
    default:
      break;
  }
}

float Axis(SDL_GameController* controller, SDL_GameControllerAxis axis, float deadZone) {
  return controller != nullptr ? StickNormal(SDL_GameControllerGetAxis(controller, axis), deadZone) : 0.0f;
}

}  // namespace

int32_t PluginKeyOf(SDL_Scancode scancode) {
  for (const PluginKey& key : PluginKeys)
    if (key.scancode == scancode) return key.virtualKey;
  return 0;
}

float StickNormal(int16_t raw, float deadZone) {
  const float value = std::clamp(static_cast<float>(raw) / StickFullTravel, -1.0f, 1.0f);
  if (std::fabs(value) <= deadZone) return 0.0f;
  return std::copysign((std::fabs(value) - deadZone) / (1.0f - deadZone), value);
}

void HandleDriveEvent(DriveInput& input, const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      HandleKey(input, event.key);
      break;
    case SDL_MOUSEMOTION:
      if (input.mouseCaptured) {
        input.mouseX += event.motion.xrel;
        input.mouseY += event.motion.yrel;
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      input.mouseCaptured = true;
      break;
    case SDL_CONTROLLERDEVICEADDED:
      if (input.controller == nullptr) input.controller = SDL_GameControllerOpen(event.cdevice.which);
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      if (input.controller != nullptr &&
          SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(input.controller)) == event.cdevice.which) {
        SDL_GameControllerClose(input.controller);
        input.controller = nullptr;
      }
      break;
    case SDL_QUIT:
      input.quit = true;
      break;
    default:
      break;
  }
}

LiveInputs TakeLiveInputs(DriveInput& input) {
  LiveInputs inputs;
  inputs.keys.swap(input.keys);
  inputs.enterOrLeave = input.enterOrLeave;
  SDL_GameController* pad = input.controller;
  inputs.lookX =
      std::clamp(input.mouseX * MouseLookPerPixel + Axis(pad, SDL_CONTROLLER_AXIS_RIGHTX, StickDeadZone), -1.0f, 1.0f);
  inputs.lookY =
      std::clamp(input.mouseY * MouseLookPerPixel + Axis(pad, SDL_CONTROLLER_AXIS_RIGHTY, StickDeadZone), -1.0f, 1.0f);
  const float keySteer = (input.right ? 1.0f : 0.0f) - (input.left ? 1.0f : 0.0f);
  inputs.motion.throttle =
      std::max(input.forward ? 1.0f : 0.0f, Axis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, TriggerDeadZone));
  inputs.motion.brake =
      std::max(input.backward ? 1.0f : 0.0f, Axis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, TriggerDeadZone));
  inputs.motion.steer = keySteer != 0.0f ? keySteer : Axis(pad, SDL_CONTROLLER_AXIS_LEFTX, StickDeadZone);
  input.mouseX = input.mouseY = 0;
  input.enterOrLeave = false;
  return inputs;
}

}  // namespace sim
