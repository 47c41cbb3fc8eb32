// Everything the plugin puts on screen: rectangles, styled text, the menu, the caption,
// the hold prompt and feed notifications. Drawn for the current frame only.
#pragma once

#include <cstdint>

#include "settings/settings.h"

namespace vantor {

void DrawCaption();
void DrawPromptText(float y, const char* text);
void PostNotification(const char* text);

}  // namespace vantor
