#include "host/script.h"

#include "camera/script_rendering.h"
#include "camera/seat_query.h"
#include "game/natives.h"
#include "settings/settings_file.h"
#include "ui/draw.h"

namespace vantor {

namespace {

constexpr const char* ScriptedCameraType = "DEFAULT_SCRIPTED_CAMERA";
constexpr float StartFov = 80.0f;
constexpr float NearClip = 0.05f;
constexpr float FarClip = 10000.0f;

}  // namespace

int32_t HandleLoaderCall(void* module, uint32_t reason) {
  if (reason == LoaderAttach) {
    scriptRegister(module, ScriptMain);
  } else if (reason == LoaderDetach) {
    RenderScriptedCamera(false);
    scriptUnregister(module);
  }
  return 1;
}

void StartScript(Settings& settings, MenuState& menu, CameraRig& rig) {
  const int32_t camera =
      CreateCameraWithParams(ScriptedCameraType, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, StartFov, 1, RotationOrder);
  SetCameraNearClip(camera, NearClip);
  SetCameraFarClip(camera, FarClip);
  SetCameraActive(camera, false);

  settings = Settings{};
  LoadSettings(settings);
  ClampSettings(settings);

  menu = MenuState{};
  rig = CameraRig{};
  rig.camera = camera;
  rig.smoothedFov = settings.FOV;
  rig.smoothedHeight = settings.Height[StartHeightClass];
}

void RunFramePass(Settings& settings, MenuState& menu, CameraRig& rig) {
  UpdateMenu(menu, settings, rig.classIndex);
  DrawCaption();
  const int32_t player = PlayerPedId();
  const SeatInfo seatInfo = QuerySeatInfo(player, rig.rememberedVehicle, settings.BetterHookerView);
  UpdateCameraRig(rig, seatInfo, player, settings);
}

void ScriptMain() {
  // The records live on this script's own stack for the life of the script.
  Settings settings;
  MenuState menu;
  CameraRig rig;
  StartScript(settings, menu, rig);
  for (;;) {
    RunFramePass(settings, menu, rig);
    scriptWait(0);
  }
}

}  // namespace vantor
