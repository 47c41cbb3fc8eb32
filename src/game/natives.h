// NativeInvoker: every game operation the plugin uses, one typed wrapper over one native call.
// Nothing else in the plugin names a hash.
#pragma once

#include <cstdint>

#include "game/native_invoker.h"

namespace vantor {

namespace hashes {
// Camera
constexpr uint64_t CreateCameraWithParams = 0xB51194800B257161;  // (name, x, y, z, rx, ry, rz, fov, active, order) -> cam
constexpr uint64_t SetCameraNearClip = 0xC7848EFCCC545182;       // (cam, distance)
constexpr uint64_t SetCameraFarClip = 0xAE306F2A904BF86E;        // (cam, distance)
constexpr uint64_t SetCameraActive = 0x026FB97D0A425F84;         // (cam, flag)
constexpr uint64_t RenderScriptCameras = 0x07E5B515DB0636FC;     // (render, a, b, c, d)
constexpr uint64_t SetCameraPosition = 0x4D41783FB745E42E;       // (cam, x, y, z)
constexpr uint64_t SetCameraRotation = 0x85973643155D0B07;       // (cam, x, y, z, order)
constexpr uint64_t SetCameraFov = 0xB13C14F66A00D047;            // (cam, fov)
constexpr uint64_t SetVehicleCameraViewMode = 0xAC253D7842768F48;  // (mode)
constexpr uint64_t IsGameplayCameraRendering = 0x39B5D1B10383F0C8;  // () -> bool
// Player, entities, vehicles
constexpr uint64_t PlayerPedId = 0xD80958FC74E988A6;             // () -> ped
constexpr uint64_t DoesEntityExist = 0x7239B21A38F536BA;         // (entity) -> bool
constexpr uint64_t IsEntityDead = 0x5F9532F3B5CC2551;            // (entity) -> bool
constexpr uint64_t IsPedInAnyVehicle = 0x997ABD671D25CA0B;       // (ped, atGetIn) -> bool
constexpr uint64_t GetVehiclePedIsIn = 0x9A9112A0FE9A4713;       // (ped, lastVehicle) -> vehicle
constexpr uint64_t GetEntityCoords = 0x3FEF770D40960D5A;         // (entity, alive) -> Vector3
constexpr uint64_t GetEntityRotation = 0xAFBD61CC738D9EB9;       // (entity, order) -> Vector3
constexpr uint64_t GetEntitySpeed = 0xD5037BA82E12416F;          // (entity) -> float
constexpr uint64_t GetVehicleMaxPassengers = 0xA7C4F2C6E744A550;  // (vehicle) -> count
constexpr uint64_t GetPedInVehicleSeat = 0xBB40DD2270B65366;     // (vehicle, seat) -> ped
constexpr uint64_t GetVehicleClass = 0x29439776AAA00A62;         // (vehicle) -> class
constexpr uint64_t GetEntityBoneIndexByName = 0xFB71170B7E76ACBA;  // (entity, name) -> bone
constexpr uint64_t GetWorldPositionOfEntityBone = 0x44A8FCB8ED227738;  // (entity, bone) -> Vector3
constexpr uint64_t GetOffsetFromEntityGivenWorldCoords = 0x2274BC1C4885E333;  // (entity, x, y, z) -> Vector3
constexpr uint64_t GetOffsetFromEntityInWorldCoords = 0x1899F328B0E12848;     // (entity, x, y, z) -> Vector3
constexpr uint64_t SetPedResetFlag = 0xC1E8A365BF3B29F2;         // (ped, flag, value)
// Time and controls
constexpr uint64_t GetGameTimer = 0x9CD27B0045628463;            // () -> milliseconds
constexpr uint64_t GetDisabledControlNormal = 0x11E65974A982637C;  // (pad, control) -> float
// Screen output
constexpr uint64_t DrawRect = 0x3A618A217E5154F0;                // (x, y, w, h, r, g, b, a)
constexpr uint64_t SetTextFont = 0x66E0276CC5F6B9DA;             // (font)
constexpr uint64_t SetTextScale = 0x07C837F9A01C34C9;            // (scale, size)
constexpr uint64_t SetTextColour = 0xBE6B23FFA53FB442;           // (r, g, b, a)
constexpr uint64_t SetTextCentre = 0xC02F4DBFB51D988B;           // (flag)
constexpr uint64_t SetTextDropShadow = 0x465C84BC39F1C351;       // (distance, r, g, b, a)
constexpr uint64_t SetTextEdge = 0x441603240D202FA6;             // (p0, r, g, b, a)
constexpr uint64_t BeginTextDisplay = 0x25FBB336DF1804CB;        // (entry)
constexpr uint64_t AddTextComponentString = 0x6C188BE134E074AA;  // (text)
constexpr uint64_t EndTextDisplay = 0xCD015E5BB0D96A57;          // (x, y)
constexpr uint64_t BeginFeedPost = 0x202709F4C58A0424;           // (entry)
constexpr uint64_t EndFeedPostTicker = 0x2ED7843F8F801023;       // (blink, showInBrief)
}  // namespace hashes

// Rotations are read and written with this order throughout: pitch in x, roll in y, yaw in z.
constexpr int32_t RotationOrder = 2;

// Camera
inline int32_t CreateCameraWithParams(const char* typeName, float x, float y, float z, float rotX, float rotY,
                                      float rotZ, float fov, int32_t activeFlag, int32_t rotationOrder) {
  return ResultInt(InvokeNative(hashes::CreateCameraWithParams, typeName, x, y, z, rotX, rotY, rotZ, fov, activeFlag,
                                rotationOrder));
}
inline void SetCameraNearClip(int32_t camera, float distance) { InvokeNative(hashes::SetCameraNearClip, camera, distance); }
inline void SetCameraFarClip(int32_t camera, float distance) { InvokeNative(hashes::SetCameraFarClip, camera, distance); }
inline void SetCameraActive(int32_t camera, bool active) { InvokeNative(hashes::SetCameraActive, camera, active); }
inline void RenderScriptCameras(int32_t render, int32_t a, int32_t b, int32_t c, int32_t d) {
  InvokeNative(hashes::RenderScriptCameras, render, a, b, c, d);
}
inline void SetCameraPosition(int32_t camera, float x, float y, float z) {
  InvokeNative(hashes::SetCameraPosition, camera, x, y, z);
}
inline void SetCameraRotation(int32_t camera, float x, float y, float z, int32_t rotationOrder) {
  InvokeNative(hashes::SetCameraRotation, camera, x, y, z, rotationOrder);
}
inline void SetCameraFov(int32_t camera, float fov) { InvokeNative(hashes::SetCameraFov, camera, fov); }
inline void SetVehicleCameraViewMode(int32_t mode) { InvokeNative(hashes::SetVehicleCameraViewMode, mode); }
inline bool IsGameplayCameraRendering() { return ResultBool(InvokeNative(hashes::IsGameplayCameraRendering)); }

// Player, entities, vehicles
inline int32_t PlayerPedId() { return ResultInt(InvokeNative(hashes::PlayerPedId)); }
inline bool DoesEntityExist(int32_t entity) { return ResultBool(InvokeNative(hashes::DoesEntityExist, entity)); }
inline bool IsEntityDead(int32_t entity) { return ResultBool(InvokeNative(hashes::IsEntityDead, entity)); }
inline bool IsPedInAnyVehicle(int32_t ped, bool atGetIn) {
  return ResultBool(InvokeNative(hashes::IsPedInAnyVehicle, ped, atGetIn));
}
inline int32_t GetVehiclePedIsIn(int32_t ped, bool lastVehicle) {
  return ResultInt(InvokeNative(hashes::GetVehiclePedIsIn, ped, lastVehicle));
}
inline Vector3 GetEntityCoords(int32_t entity, bool alive) {
  return ResultVector3(InvokeNative(hashes::GetEntityCoords, entity, alive));
}
inline Vector3 GetEntityRotation(int32_t entity, int32_t rotationOrder) {
  return ResultVector3(InvokeNative(hashes::GetEntityRotation, entity, rotationOrder));
}
inline float GetEntitySpeed(int32_t entity) { return ResultFloat(InvokeNative(hashes::GetEntitySpeed, entity)); }
inline int32_t GetVehicleMaxPassengers(int32_t vehicle) {
  return ResultInt(InvokeNative(hashes::GetVehicleMaxPassengers, vehicle));
}
inline int32_t GetPedInVehicleSeat(int32_t vehicle, int32_t seat) {
  return ResultInt(InvokeNative(hashes::GetPedInVehicleSeat, vehicle, seat));
}
inline int32_t GetVehicleClass(int32_t vehicle) { return ResultInt(InvokeNative(hashes::GetVehicleClass, vehicle)); }
inline int32_t GetEntityBoneIndexByName(int32_t entity, const char* boneName) {
  return ResultInt(InvokeNative(hashes::GetEntityBoneIndexByName, entity, boneName));
}
inline Vector3 GetWorldPositionOfEntityBone(int32_t entity, int32_t bone) {
  return ResultVector3(InvokeNative(hashes::GetWorldPositionOfEntityBone, entity, bone));
}
// The one call shape shared by both offset conversions: an entity and three floats, a Vector3 back.
inline Vector3 InvokeEntityOffset(uint64_t hash, int32_t entity, float x, float y, float z) {
  return ResultVector3(InvokeNative(hash, entity, x, y, z));
}
inline Vector3 GetOffsetFromEntityGivenWorldCoords(int32_t entity, float x, float y, float z) {
  return InvokeEntityOffset(hashes::GetOffsetFromEntityGivenWorldCoords, entity, x, y, z);
}
inline Vector3 GetOffsetFromEntityInWorldCoords(int32_t entity, float x, float y, float z) {
  return InvokeEntityOffset(hashes::GetOffsetFromEntityInWorldCoords, entity, x, y, z);
}
inline void SetPedResetFlag(int32_t ped, int32_t flag, bool value) {
  InvokeNative(hashes::SetPedResetFlag, ped, flag, value);
}

// Time and controls
inline int32_t GetGameTimer() { return ResultInt(InvokeNative(hashes::GetGameTimer)); }
inline float GetDisabledControlNormal(int32_t pad, int32_t control) {
  return ResultFloat(InvokeNative(hashes::GetDisabledControlNormal, pad, control));
}

// Screen output
inline void DrawRect(float x, float y, float width, float height, int32_t red, int32_t green, int32_t blue,
                     int32_t alpha) {
  InvokeNative(hashes::DrawRect, x, y, width, height, red, green, blue, alpha);
}
inline void SetTextFont(int32_t font) { InvokeNative(hashes::SetTextFont, font); }
inline void SetTextScale(float scale, float size) { InvokeNative(hashes::SetTextScale, scale, size); }
inline void SetTextColour(int32_t red, int32_t green, int32_t blue, int32_t alpha) {
  InvokeNative(hashes::SetTextColour, red, green, blue, alpha);
}
inline void SetTextCentre(bool centre) { InvokeNative(hashes::SetTextCentre, centre); }
inline void SetTextDropShadow(int32_t distance, int32_t red, int32_t green, int32_t blue, int32_t alpha) {
  InvokeNative(hashes::SetTextDropShadow, distance, red, green, blue, alpha);
}
inline void SetTextEdge(int32_t first, int32_t red, int32_t green, int32_t blue, int32_t alpha) {
  InvokeNative(hashes::SetTextEdge, first, red, green, blue, alpha);
}
inline void BeginTextDisplay(const char* entry) { InvokeNative(hashes::BeginTextDisplay, entry); }
inline void AddTextComponentString(const char* text) { InvokeNative(hashes::AddTextComponentString, text); }
inline void EndTextDisplay(float x, float y) { InvokeNative(hashes::EndTextDisplay, x, y); }
inline void BeginFeedPost(const char* entry) { InvokeNative(hashes::BeginFeedPost, entry); }
inline void EndFeedPostTicker(bool blink, bool showInBrief) {
  InvokeNative(hashes::EndFeedPostTicker, blink, showInBrief);
}

}  // namespace vantor
