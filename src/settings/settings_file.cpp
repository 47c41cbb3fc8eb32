#include "settings/settings_file.h"

namespace vantor {

bool LoadSettings(Settings&) { return false; }

bool SaveSettings(const Settings&) { return false; }

}  // namespace vantor
