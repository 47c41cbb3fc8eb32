// The settings menu's figure: backdrop, title bar, row panel, accent stripe, ten rows, footer.
#pragma once

#include <cstdint>

#include "settings/settings.h"

namespace vantor {

// Slot centre line of a row, as the bar and the label both use it.
float MenuRowCentre(int32_t row);

// The bar when selected, then the label in the row style.
void DrawMenuRow(int32_t row, const char* label, bool selected);

// The whole menu for this frame. shownHeight is the Height entry the Height row displays.
void DrawMenu(int32_t selectedRow, const Settings& settings, float shownHeight);

}  // namespace vantor
