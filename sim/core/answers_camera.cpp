// The scripted camera, the rendering switch, the vehicle camera's view mode.
#include <cstring>

#include "sim/core/native_answers.h"

namespace sim::answers {

namespace {

// Every camera call must name the camera the plugin created.
ScriptedCamera* CameraFor(World& world, const CallArguments& arguments, const char* caller) {
  if (world.camera.created && arguments.Int(0) == world.camera.handle) return &world.camera;
  ReportFault(world, std::string(caller) + ": unknown camera " + std::to_string(arguments.Int(0)));
  return nullptr;
}

}  // namespace

void CreateCameraWithParams(World& world, const CallArguments& arguments, CallResult& result) {
  if (world.camera.created) world.errors.emplace_back("a second scripted camera was created");
  if (std::strcmp(arguments.Text(0), "DEFAULT_SCRIPTED_CAMERA") != 0)
    world.errors.emplace_back("camera of an unknown type was created");
  ScriptedCamera& camera = world.camera;
  camera.created = true;
  camera.handle = ScriptedCameraHandle;
  camera.position = {arguments.Float(1), arguments.Float(2), arguments.Float(3)};
  camera.rotation = {arguments.Float(4), arguments.Float(5), arguments.Float(6)};
  camera.fov = arguments.Float(7);
  camera.active = arguments.Int(8) != 0;
  camera.rotationOrder = arguments.Int(9);
  SetResultInt(result, camera.handle);
}

void SetCameraNearClip(World& world, const CallArguments& arguments, CallResult&) {
  if (ScriptedCamera* camera = CameraFor(world, arguments, "SetCameraNearClip")) camera->nearClip = arguments.Float(1);
}

void SetCameraFarClip(World& world, const CallArguments& arguments, CallResult&) {
  if (ScriptedCamera* camera = CameraFor(world, arguments, "SetCameraFarClip")) camera->farClip = arguments.Float(1);
}

void SetCameraActive(World& world, const CallArguments& arguments, CallResult&) {
  ScriptedCamera* camera = CameraFor(world, arguments, "SetCameraActive");
  if (camera == nullptr) return;
  camera->active = arguments.Bool(1);
  // Of the active script cameras the game renders the one made active last.
  if (camera->active) camera->activation = ++world.cameraActivations;
}

// One switch for every script: another script's call turns the plugin's camera off too.
void RenderScriptCameras(World& world, const CallArguments& arguments, CallResult&) {
  world.scriptCamerasRendering = arguments.Int(0) != 0;
}

void SetCameraPosition(World& world, const CallArguments& arguments, CallResult&) {
  if (ScriptedCamera* camera = CameraFor(world, arguments, "SetCameraPosition"))
    camera->position = {arguments.Float(1), arguments.Float(2), arguments.Float(3)};
}

void SetCameraRotation(World& world, const CallArguments& arguments, CallResult&) {
  if (ScriptedCamera* camera = CameraFor(world, arguments, "SetCameraRotation")) {
    camera->rotation = {arguments.Float(1), arguments.Float(2), arguments.Float(3)};
    camera->rotationOrder = arguments.Int(4);
  }
}

void SetCameraFov(World& world, const CallArguments& arguments, CallResult&) {
  if (ScriptedCamera* camera = CameraFor(world, arguments, "SetCameraFov")) camera->fov = arguments.Float(1);
}

void SetVehicleCameraViewMode(World& world, const CallArguments& arguments, CallResult&) {
  world.vehicleCameraViewMode = arguments.Int(0);
}

void IsGameplayCameraRendering(World& world, const CallArguments&, CallResult& result) {
  SetResultInt(result, CameraRendering(world) == RenderingCamera::Gameplay ? 1 : 0);
}

void GetGameTimer(World& world, const CallArguments&, CallResult& result) { SetResultInt(result, world.gameTimer); }

void GetDisabledControlNormal(World& world, const CallArguments& arguments, CallResult& result) {
  const int32_t control = arguments.Int(1);
  const bool known = arguments.Int(0) == 0 && control >= 0 && control < static_cast<int32_t>(world.lookControls.size());
  SetResultFloat(result, known ? world.lookControls[static_cast<size_t>(control)] : 0.0f);
}

}  // namespace sim::answers
