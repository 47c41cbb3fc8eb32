// The menu's ten rows, top to bottom, and the label of each.
#pragma once

#include <cstdint>

namespace vantor {

constexpr int32_t MenuRowCount = 10;

enum MenuRow : int32_t {
  RowModEnabled = 0,
  RowFov = 1,
  RowHeight = 2,
  RowAutoRecenter = 3,
  RowReset = 4,
  RowSave = 5,
  RowLookSensitivity = 6,
  RowDynamicFov = 7,
  RowCornerLean = 8,
  RowBetterHookerView = 9,
};

// Prefixes of the formatted labels; the value follows, as "ON"/"OFF" or with the decimals given.
constexpr const char* ModEnabledLabel = "Vantor: ";
constexpr const char* FovLabel = "FOV: ";
constexpr int32_t FovDecimals = 1;
constexpr const char* HeightLabel = "Height: ";
constexpr int32_t HeightDecimals = 2;
constexpr const char* AutoRecenterLabel = "Auto-Recenter: ";
constexpr const char* ResetLabel = "Reset to Defaults";
constexpr const char* SaveLabel = "Save Settings";
constexpr const char* LookSensitivityLabel = "Look Sensitivity: ";
constexpr int32_t LookSensitivityDecimals = 0;
constexpr const char* DynamicFovLabel = "Dynamic FOV: ";
constexpr const char* CornerLeanLabel = "Corner Lean: ";
constexpr const char* BetterHookerViewLabel = "Better Hooker View: ";

}  // namespace vantor
