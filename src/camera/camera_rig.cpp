#include "camera/camera_rig.h"

#include <cmath>

#include "settings/bounds.h"
#include "camera/exit_key.h"
#include "camera/free_look.h"
#include "camera/script_rendering.h"
#include "game/natives.h"

namespace vantor {

namespace {

constexpr const char* SeatBoneName = "seat_dside_f";
constexpr int32_t MissingBone = -1;
constexpr bool AliveCoords = true;
constexpr float SeatForwardOffset = 0.1f;  // metres along the vehicle's local y axis

constexpr float FovSmoothing = 0.15f;
constexpr float HeightSmoothing = 0.15f;
constexpr float OrientationSmoothing = 0.12f;
constexpr float LeanSmoothing = 0.1f;

constexpr float DynamicFovSpeedScale = 0.022222223f;  // 1/45: the full widening at 45 m/s
constexpr float DynamicFovWidening = 8.0f;            // degrees at full effect
constexpr float LeanPerDegreeAndSpeed = -0.15f;
constexpr float LeanLimit = 4.0f;

constexpr int32_t FirstPersonResetFlag = 166;

// Both the reported yaw and roll this far from the eased ones: the report changed branch.
constexpr float BranchChangeDifference = 90.0f;

constexpr float WrapShift = 540.0f;
constexpr float FullTurn = 360.0f;
constexpr float HalfTurn = 180.0f;

// With the near-vehicle rule a pass may find the remembered vehicle but no seat: the
// remembered seat stands in.
int32_t RememberSeat(CameraRig& rig, const SeatInfo& seatInfo, bool betterHookerView) {
  const int32_t effectiveSeat =
      betterHookerView && seatInfo.hasVehicle && seatInfo.seat == NoSeat ? rig.rememberedSeat : seatInfo.seat;
  if (seatInfo.hasVehicle) {
    rig.rememberedVehicle = seatInfo.vehicle;
    rig.rememberedSeat = effectiveSeat;
  } else {
    rig.rememberedVehicle = 0;
    rig.rememberedSeat = NoSeat;
  }
  return effectiveSeat;
}

void TrackVehicleClass(CameraRig& rig, const SeatInfo& seatInfo) {
  if (!seatInfo.hasVehicle) return;
  const int32_t vehicleClass = GetVehicleClass(seatInfo.vehicle);
  // Unsigned, so negative classes fail too.
  if (static_cast<uint32_t>(vehicleClass) < static_cast<uint32_t>(VehicleClassCount)) rig.classIndex = vehicleClass;
}

float TargetFov(const SeatInfo& seatInfo, const Settings& settings) {
  if (!settings.DynamicFOV || !seatInfo.hasVehicle) return settings.FOV;
  const float effect = ClampNanToLower(GetEntitySpeed(seatInfo.vehicle) * DynamicFovSpeedScale, 0.0f, 1.0f);
  return ClampNanToLower(settings.FOV + DynamicFovWidening * effect, FovMin, FovMax);
}

void SmoothFovAndHeight(CameraRig& rig, float targetFov, const Settings& settings) {
  rig.smoothedFov += (targetFov - rig.smoothedFov) * FovSmoothing;
  rig.smoothedHeight += (settings.Height[rig.classIndex] - rig.smoothedHeight) * HeightSmoothing;
}

bool WantsCamera(const SeatInfo& seatInfo, int32_t effectiveSeat, int32_t now, const CameraRig& rig,
                 const Settings& settings) {
  return settings.ModEnabled && seatInfo.hasVehicle && effectiveSeat == DriverSeat &&
         !HoldOffRunning(now, rig.holdOffUntil) && seatInfo.gameplayCameraNotRendering;
}

// Seeds the smoothing from the vehicle so the view starts level with it, looking ahead.
void Activate(CameraRig& rig, int32_t vehicle) {
  const Vector3 rotation = GetEntityRotation(vehicle, RotationOrder);
  rig.lean = 0.0f;
  rig.smoothedYaw = rotation.z;
  rig.previousYaw = rotation.z;
  SetCameraActive(rig.camera, true);
  RenderScriptedCamera(true);
  rig.active = true;
  rig.lookYaw = 0.0f;
  rig.lookPitch = 0.0f;
  const int32_t now = GetGameTimer();
  rig.smoothedPitch = rotation.x;
  rig.smoothedRoll = rotation.y;
  rig.lastLookTime = now;
}

// Eases a smoothed angle towards the vehicle's. A smoothed angle that is not finite (seeded from
// a bad rotation at activation) could never ease back, since its difference wraps to 0, so it
// takes the vehicle's angle outright, as the activation would have.
void SmoothAngle(float& smoothed, float vehicleAngle) {
  if (!std::isfinite(smoothed)) {
    smoothed = vehicleAngle;
    return;
  }
  smoothed += WrapAngle(vehicleAngle - smoothed) * OrientationSmoothing;
}

// Past a vertical pitch the game reports the same attitude on its other branch (pitch 180 - p,
// roll and yaw turned by 180). Eased angle by angle towards it, the view would swing the long way
// round, so the eased angles move to that branch first: the view's attitude stays where it was.
void FollowReportedBranch(CameraRig& rig, const Vector3& rotation) {
  if (std::fabs(WrapAngle(rotation.z - rig.smoothedYaw)) <= BranchChangeDifference ||
      std::fabs(WrapAngle(rotation.y - rig.smoothedRoll)) <= BranchChangeDifference)
    return;
  rig.smoothedPitch = WrapAngle(HalfTurn - rig.smoothedPitch);
  rig.smoothedRoll = WrapAngle(rig.smoothedRoll + HalfTurn);
  rig.smoothedYaw = WrapAngle(rig.smoothedYaw + HalfTurn);
  // So that corner lean sees no jump in the vehicle's yaw.
  rig.previousYaw = WrapAngle(rig.previousYaw + HalfTurn);
}

void RunActiveFrame(CameraRig& rig, int32_t vehicle, int32_t player, const Settings& settings) {
  UpdateFreeLook(rig, settings);

  const int32_t bone = GetEntityBoneIndexByName(vehicle, SeatBoneName);
  const Vector3 seatPoint =
      bone == MissingBone ? GetEntityCoords(vehicle, AliveCoords) : GetWorldPositionOfEntityBone(vehicle, bone);
  const Vector3 local = GetOffsetFromEntityGivenWorldCoords(vehicle, seatPoint.x, seatPoint.y, seatPoint.z);
  const Vector3 position =
      GetOffsetFromEntityInWorldCoords(vehicle, local.x, local.y + SeatForwardOffset, local.z + rig.smoothedHeight);

  const Vector3 rotation = GetEntityRotation(vehicle, RotationOrder);
  FollowReportedBranch(rig, rotation);
  SmoothAngle(rig.smoothedPitch, rotation.x);
  SmoothAngle(rig.smoothedRoll, rotation.y);
  SmoothAngle(rig.smoothedYaw, rotation.z);

  float leanTarget = 0.0f;
  if (settings.CornerLean) {
    const float speed = GetEntitySpeed(vehicle);
    leanTarget = ClampNanToLower(WrapAngle(rotation.z - rig.previousYaw) * speed * LeanPerDegreeAndSpeed,
                                 -LeanLimit, LeanLimit);
  }
  rig.previousYaw = rotation.z;
  rig.lean += (leanTarget - rig.lean) * LeanSmoothing;

  SetCameraPosition(rig.camera, position.x, position.y, position.z);
  SetCameraRotation(rig.camera, rig.smoothedPitch + rig.lookPitch, rig.smoothedRoll + rig.lean,
                    rig.smoothedYaw + rig.lookYaw, RotationOrder);
  SetCameraFov(rig.camera, rig.smoothedFov);
  SetPedResetFlag(player, FirstPersonResetFlag, true);
}

}  // namespace

float WrapAngle(float degrees) {
  if (!std::isfinite(degrees)) return 0.0f;
  float turn = std::fmod(degrees + WrapShift, FullTurn);  // exact, in (-360, 360)
  if (turn < 0.0f) turn += FullTurn;
  // A tiny negative remainder plus 360 can round to 360 itself.
  if (turn >= FullTurn) turn -= FullTurn;
  return turn - HalfTurn;
}

void UpdateCameraRig(CameraRig& rig, const SeatInfo& seatInfo, int32_t player, const Settings& settings) {
  const int32_t effectiveSeat = RememberSeat(rig, seatInfo, settings.BetterHookerView);
  TrackVehicleClass(rig, seatInfo);
  const float targetFov = TargetFov(seatInfo, settings);
  SmoothFovAndHeight(rig, targetFov, settings);
  UpdateExitKey(rig);
  const int32_t now = ApplyHoldOff(rig);

  if (!WantsCamera(seatInfo, effectiveSeat, now, rig, settings)) {
    if (rig.active) ReleaseScriptedCamera(rig);
    return;
  }
  if (!rig.active) Activate(rig, seatInfo.vehicle);
  RunActiveFrame(rig, seatInfo.vehicle, player, settings);
}

}  // namespace vantor
