// How the world answers each native; the table in native_table.cpp names them.
#pragma once

#include "sim/core/native_table.h"

namespace sim::answers {

void CreateCameraWithParams(World&, const CallArguments&, CallResult&);
void SetCameraNearClip(World&, const CallArguments&, CallResult&);
void SetCameraFarClip(World&, const CallArguments&, CallResult&);
void SetCameraActive(World&, const CallArguments&, CallResult&);
void RenderScriptCameras(World&, const CallArguments&, CallResult&);
void SetCameraPosition(World&, const CallArguments&, CallResult&);
void SetCameraRotation(World&, const CallArguments&, CallResult&);
void SetCameraFov(World&, const CallArguments&, CallResult&);
void SetVehicleCameraViewMode(World&, const CallArguments&, CallResult&);
void IsGameplayCameraRendering(World&, const CallArguments&, CallResult&);

void PlayerPedId(World&, const CallArguments&, CallResult&);
void DoesEntityExist(World&, const CallArguments&, CallResult&);
void IsEntityDead(World&, const CallArguments&, CallResult&);
void IsPedInAnyVehicle(World&, const CallArguments&, CallResult&);
void GetVehiclePedIsIn(World&, const CallArguments&, CallResult&);
void GetEntityCoords(World&, const CallArguments&, CallResult&);
void GetEntityRotation(World&, const CallArguments&, CallResult&);
void GetEntitySpeed(World&, const CallArguments&, CallResult&);
void GetVehicleMaxPassengers(World&, const CallArguments&, CallResult&);
void GetPedInVehicleSeat(World&, const CallArguments&, CallResult&);
void GetVehicleClass(World&, const CallArguments&, CallResult&);
void GetEntityBoneIndexByName(World&, const CallArguments&, CallResult&);
void GetWorldPositionOfEntityBone(World&, const CallArguments&, CallResult&);
void GetOffsetFromEntityGivenWorldCoords(World&, const CallArguments&, CallResult&);
void GetOffsetFromEntityInWorldCoords(World&, const CallArguments&, CallResult&);
void SetPedResetFlag(World&, const CallArguments&, CallResult&);

void GetGameTimer(World&, const CallArguments&, CallResult&);
void GetDisabledControlNormal(World&, const CallArguments&, CallResult&);

void DrawRect(World&, const CallArguments&, CallResult&);
void SetTextFont(World&, const CallArguments&, CallResult&);
void SetTextScale(World&, const CallArguments&, CallResult&);
void SetTextColour(World&, const CallArguments&, CallResult&);
void SetTextCentre(World&, const CallArguments&, CallResult&);
void SetTextDropShadow(World&, const CallArguments&, CallResult&);
void SetTextEdge(World&, const CallArguments&, CallResult&);
void BeginTextDisplay(World&, const CallArguments&, CallResult&);
void AddTextComponentString(World&, const CallArguments&, CallResult&);
void EndTextDisplay(World&, const CallArguments&, CallResult&);
void BeginFeedPost(World&, const CallArguments&, CallResult&);
void EndFeedPostTicker(World&, const CallArguments&, CallResult&);

}  // namespace sim::answers
