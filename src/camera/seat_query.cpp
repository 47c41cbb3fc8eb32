#include "camera/seat_query.h"

#include <algorithm>

#include "game/natives.h"

namespace vantor {

namespace {

constexpr bool AtGetIn = false;
constexpr bool CurrentVehicle = false;
constexpr bool LastVehicle = true;
constexpr bool AliveCoords = true;
// 1.5 m, compared squared; exactly 2.25 is too far.
constexpr float NearVehicleDistanceSquared = 2.25f;
// Far more passenger seats than any vehicle has. A larger count is a bad answer of the game:
// searched as given, a count near 2^31 would ask that many seats and hold the frame for minutes.
constexpr int32_t MaxSearchedPassengers = 64;

bool IsNearVehicle(int32_t player, int32_t vehicle) {
  const Vector3 p = GetEntityCoords(player, AliveCoords);
  const Vector3 v = GetEntityCoords(vehicle, AliveCoords);
  const float dx = p.x - v.x;
  const float dy = p.y - v.y;
  const float dz = p.z - v.z;
  const float distanceSquared = dy * dy + dx * dx + dz * dz;
  return distanceSquared < NearVehicleDistanceSquared;
}

int32_t FindPlayerSeat(int32_t vehicle, int32_t player) {
  const int32_t passengers = std::min(GetVehicleMaxPassengers(vehicle), MaxSearchedPassengers);
  // seat < passengers <= 64 before each increment, so the index cannot overflow.
  for (int32_t seat = DriverSeat; seat < passengers; ++seat)
    if (GetPedInVehicleSeat(vehicle, seat) == player) return seat;
  return NoSeat;
}

}  // namespace

SeatInfo QuerySeatInfo(int32_t player, int32_t rememberedVehicle, bool betterHookerView) {
  SeatInfo info;
  if (!DoesEntityExist(player)) return info;
  if (IsEntityDead(player)) return info;

  int32_t candidate = 0;
  if (IsPedInAnyVehicle(player, AtGetIn)) {
    candidate = GetVehiclePedIsIn(player, CurrentVehicle);
  } else {
    // Out of every seat: only the vehicle driven last pass, and only while standing close to it.
    if (!betterHookerView || rememberedVehicle == 0) return info;
    candidate = GetVehiclePedIsIn(player, LastVehicle);
    if (candidate != rememberedVehicle) return info;
    if (!DoesEntityExist(candidate)) return info;
    if (!IsNearVehicle(player, candidate)) return info;
  }
  if (candidate == 0 || !DoesEntityExist(candidate)) return info;

  info.hasVehicle = true;
  info.vehicle = candidate;
  const bool gameplayRendering = IsGameplayCameraRendering();
  info.gameplayCameraRendering = gameplayRendering;
  info.gameplayCameraNotRendering = !gameplayRendering;
  info.seat = FindPlayerSeat(candidate, player);
  return info;
}

}  // namespace vantor
