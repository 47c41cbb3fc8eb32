// Once a pass: is the player alive and with a vehicle, which one, in which seat,
// and is the game's own gameplay camera rendering.
#pragma once

#include <cstdint>

namespace vantor {

constexpr int32_t DriverSeat = -1;
constexpr int32_t NoSeat = -99;

struct SeatInfo {
  bool hasVehicle = false;
  int32_t vehicle = 0;
  bool gameplayCameraRendering = false;     // set only with a vehicle
  bool gameplayCameraNotRendering = false;  // set only with a vehicle
  int32_t seat = NoSeat;
};

SeatInfo QuerySeatInfo(int32_t player, int32_t rememberedVehicle, bool betterHookerView);

}  // namespace vantor
