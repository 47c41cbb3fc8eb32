// NativeInvoker: every game operation the plugin uses, one typed wrapper over one native call,
// each beside its hash. Nothing else in the plugin names a hash.
#pragma once

#include <cstdint>

#include "game/native_invoker.h"

namespace vantor {

// Rotations are read and written with this order throughout: pitch in x, roll in y, yaw in z.
constexpr int32_t RotationOrder = 2;

// Camera
// (name, x, y, z, rx, ry, rz, fov, active, order) -> cam
constexpr uint64_t CreateCameraWithParamsHash = 0xB51194800B257161;
inline int32_t CreateCameraWithParams(const char* typeName, float x, float y, float z, float rotX, float rotY,
                                      float rotZ, float fov, int32_t activeFlag, int32_t rotationOrder) {
  return ResultInt(InvokeNative(CreateCameraWithParamsHash, typeName, x, y, z, rotX, rotY, rotZ, fov, activeFlag,
                                rotationOrder));
}
constexpr uint64_t SetCameraNearClipHash = 0xC7848EFCCC545182;  // (cam, distance)
inline void SetCameraNearClip(int32_t camera, float distance) { InvokeNative(SetCameraNearClipHash, camera, distance); }
constexpr uint64_t SetCameraFarClipHash = 0xAE306F2A904BF86E;  // (cam, distance)
inline void SetCameraFarClip(int32_t camera, float distance) { InvokeNative(SetCameraFarClipHash, camera, distance); }
constexpr uint64_t SetCameraActiveHash = 0x026FB97D0A425F84;  // (cam, flag)
inline void SetCameraActive(int32_t camera, bool active) { InvokeNative(SetCameraActiveHash, camera, active); }
constexpr uint64_t RenderScriptCamerasHash = 0x07E5B515DB0636FC;  // (render, a, b, c, d)
inline void RenderScriptCameras(int32_t render, int32_t a, int32_t b, int32_t c, int32_t d) {
  InvokeNative(RenderScriptCamerasHash, render, a, b, c, d);
}
constexpr uint64_t SetCameraPositionHash = 0x4D41783FB745E42E;  // (cam, x, y, z)
inline void SetCameraPosition(int32_t camera, float x, float y, float z) {
  InvokeNative(SetCameraPositionHash, camera, x, y, z);
}
constexpr uint64_t SetCameraRotationHash = 0x85973643155D0B07;  // (cam, x, y, z, order)
inline void SetCameraRotation(int32_t camera, float x, float y, float z, int32_t rotationOrder) {
  InvokeNative(SetCameraRotationHash, camera, x, y, z, rotationOrder);
}
constexpr uint64_t SetCameraFovHash = 0xB13C14F66A00D047;  // (cam, fov)
inline void SetCameraFov(int32_t camera, float fov) { InvokeNative(SetCameraFovHash, camera, fov); }
constexpr uint64_t SetVehicleCameraViewModeHash = 0xAC253D7842768F48;  // (mode)
inline void SetVehicleCameraViewMode(int32_t mode) { InvokeNative(SetVehicleCameraViewModeHash, mode); }
constexpr uint64_t IsGameplayCameraRenderingHash = 0x39B5D1B10383F0C8;  // () -> bool
inline bool IsGameplayCameraRendering() { return ResultBool(InvokeNative(IsGameplayCameraRenderingHash)); }

// Player, entities, vehicles
constexpr uint64_t PlayerPedIdHash = 0xD80958FC74E988A6;  // () -> ped
inline int32_t PlayerPedId() { return ResultInt(InvokeNative(PlayerPedIdHash)); }
constexpr uint64_t DoesEntityExistHash = 0x7239B21A38F536BA;  // (entity) -> bool
inline bool DoesEntityExist(int32_t entity) { return ResultBool(InvokeNative(DoesEntityExistHash, entity)); }
constexpr uint64_t IsEntityDeadHash = 0x5F9532F3B5CC2551;  // (entity) -> bool
inline bool IsEntityDead(int32_t entity) { return ResultBool(InvokeNative(IsEntityDeadHash, entity)); }
constexpr uint64_t IsPedInAnyVehicleHash = 0x997ABD671D25CA0B;  // (ped, atGetIn) -> bool
inline bool IsPedInAnyVehicle(int32_t ped, bool atGetIn) {
  return ResultBool(InvokeNative(IsPedInAnyVehicleHash, ped, atGetIn));
}
constexpr uint64_t GetVehiclePedIsInHash = 0x9A9112A0FE9A4713;  // (ped, lastVehicle) -> vehicle
inline int32_t GetVehiclePedIsIn(int32_t ped, bool lastVehicle) {
  return ResultInt(InvokeNative(GetVehiclePedIsInHash, ped, lastVehicle));
}
constexpr uint64_t GetEntityCoordsHash = 0x3FEF770D40960D5A;  // (entity, alive) -> Vector3
inline Vector3 GetEntityCoords(int32_t entity, bool alive) {
  return ResultVector3(InvokeNative(GetEntityCoordsHash, entity, alive));
}
constexpr uint64_t GetEntityRotationHash = 0xAFBD61CC738D9EB9;  // (entity, order) -> Vector3
inline Vector3 GetEntityRotation(int32_t entity, int32_t rotationOrder) {
  return ResultVector3(InvokeNative(GetEntityRotationHash, entity, rotationOrder));
}
constexpr uint64_t GetEntitySpeedHash = 0xD5037BA82E12416F;  // (entity) -> float
inline float GetEntitySpeed(int32_t entity) { return ResultFloat(InvokeNative(GetEntitySpeedHash, entity)); }
constexpr uint64_t GetVehicleMaxPassengersHash = 0xA7C4F2C6E744A550;  // (vehicle) -> count
inline int32_t GetVehicleMaxPassengers(int32_t vehicle) {
  return ResultInt(InvokeNative(GetVehicleMaxPassengersHash, vehicle));
}
constexpr uint64_t GetPedInVehicleSeatHash = 0xBB40DD2270B65366;  // (vehicle, seat) -> ped
inline int32_t GetPedInVehicleSeat(int32_t vehicle, int32_t seat) {
  return ResultInt(InvokeNative(GetPedInVehicleSeatHash, vehicle, seat));
}
constexpr uint64_t GetVehicleClassHash = 0x29439776AAA00A62;  // (vehicle) -> class
inline int32_t GetVehicleClass(int32_t vehicle) { return ResultInt(InvokeNative(GetVehicleClassHash, vehicle)); }
constexpr uint64_t GetEntityBoneIndexByNameHash = 0xFB71170B7E76ACBA;  // (entity, name) -> bone
inline int32_t GetEntityBoneIndexByName(int32_t entity, const char* boneName) {
  return ResultInt(InvokeNative(GetEntityBoneIndexByNameHash, entity, boneName));
}
constexpr uint64_t GetWorldPositionOfEntityBoneHash = 0x44A8FCB8ED227738;  // (entity, bone) -> Vector3
inline Vector3 GetWorldPositionOfEntityBone(int32_t entity, int32_t bone) {
  return ResultVector3(InvokeNative(GetWorldPositionOfEntityBoneHash, entity, bone));
}
constexpr uint64_t GetOffsetFromEntityGivenWorldCoordsHash = 0x2274BC1C4885E333;  // (entity, x, y, z) -> Vector3
inline Vector3 GetOffsetFromEntityGivenWorldCoords(int32_t entity, float x, float y, float z) {
  return ResultVector3(InvokeNative(GetOffsetFromEntityGivenWorldCoordsHash, entity, x, y, z));
}
constexpr uint64_t GetOffsetFromEntityInWorldCoordsHash = 0x1899F328B0E12848;  // (entity, x, y, z) -> Vector3
inline Vector3 GetOffsetFromEntityInWorldCoords(int32_t entity, float x, float y, float z) {
  return ResultVector3(InvokeNative(GetOffsetFromEntityInWorldCoordsHash, entity, x, y, z));
}
constexpr uint64_t SetPedResetFlagHash = 0xC1E8A365BF3B29F2;  // (ped, flag, value)
inline void SetPedResetFlag(int32_t ped, int32_t flag, bool value) {
  InvokeNative(SetPedResetFlagHash, ped, flag, value);
}

// Time and controls
constexpr uint64_t GetGameTimerHash = 0x9CD27B0045628463;  // () -> milliseconds
inline int32_t GetGameTimer() { return ResultInt(InvokeNative(GetGameTimerHash)); }
constexpr uint64_t GetDisabledControlNormalHash = 0x11E65974A982637C;  // (pad, control) -> float
inline float GetDisabledControlNormal(int32_t pad, int32_t control) {
  return ResultFloat(InvokeNative(GetDisabledControlNormalHash, pad, control));
}

// Screen output
constexpr uint64_t DrawRectHash = 0x3A618A217E5154F0;  // (x, y, w, h, r, g, b, a)
inline void DrawRect(float x, float y, float width, float height, int32_t red, int32_t green, int32_t blue,
                     int32_t alpha) {
  InvokeNative(DrawRectHash, x, y, width, height, red, green, blue, alpha);
}
constexpr uint64_t SetTextFontHash = 0x66E0276CC5F6B9DA;  // (font)
inline void SetTextFont(int32_t font) { InvokeNative(SetTextFontHash, font); }
constexpr uint64_t SetTextScaleHash = 0x07C837F9A01C34C9;  // (scale, size)
inline void SetTextScale(float scale, float size) { InvokeNative(SetTextScaleHash, scale, size); }
constexpr uint64_t SetTextColourHash = 0xBE6B23FFA53FB442;  // (r, g, b, a)
inline void SetTextColour(int32_t red, int32_t green, int32_t blue, int32_t alpha) {
  InvokeNative(SetTextColourHash, red, green, blue, alpha);
}
constexpr uint64_t SetTextCentreHash = 0xC02F4DBFB51D988B;  // (flag)
inline void SetTextCentre(bool centre) { InvokeNative(SetTextCentreHash, centre); }
constexpr uint64_t SetTextDropShadowHash = 0x465C84BC39F1C351;  // (distance, r, g, b, a)
inline void SetTextDropShadow(int32_t distance, int32_t red, int32_t green, int32_t blue, int32_t alpha) {
  InvokeNative(SetTextDropShadowHash, distance, red, green, blue, alpha);
}
constexpr uint64_t SetTextEdgeHash = 0x441603240D202FA6;  // (p0, r, g, b, a)
inline void SetTextEdge(int32_t first, int32_t red, int32_t green, int32_t blue, int32_t alpha) {
  InvokeNative(SetTextEdgeHash, first, red, green, blue, alpha);
}
constexpr uint64_t BeginTextDisplayHash = 0x25FBB336DF1804CB;  // (entry)
inline void BeginTextDisplay(const char* entry) { InvokeNative(BeginTextDisplayHash, entry); }
constexpr uint64_t AddTextComponentStringHash = 0x6C188BE134E074AA;  // (text)
inline void AddTextComponentString(const char* text) { InvokeNative(AddTextComponentStringHash, text); }
constexpr uint64_t EndTextDisplayHash = 0xCD015E5BB0D96A57;  // (x, y)
inline void EndTextDisplay(float x, float y) { InvokeNative(EndTextDisplayHash, x, y); }
constexpr uint64_t BeginFeedPostHash = 0x202709F4C58A0424;  // (entry)
inline void BeginFeedPost(const char* entry) { InvokeNative(BeginFeedPostHash, entry); }
constexpr uint64_t EndFeedPostTickerHash = 0x2ED7843F8F801023;  // (blink, showInBrief)
inline void EndFeedPostTicker(bool blink, bool showInBrief) {
  InvokeNative(EndFeedPostTickerHash, blink, showInBrief);
}

}  // namespace vantor
