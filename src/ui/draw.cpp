#include "ui/draw.h"

namespace vantor {

void DrawCaption() {}
void DrawPromptText(float, const char*) {}
void PostNotification(const char*) {}

}  // namespace vantor
