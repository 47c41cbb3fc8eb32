// The settings file "Vantor.ini": key=value lines in the working directory.
#pragma once

#include "settings/settings.h"

namespace vantor {

constexpr const char* SettingsFileName = "Vantor.ini";

// Reads the file over the record; fields the file does not name keep their values.
// True when the file opened and at least one line carried a recognised key.
bool LoadSettings(Settings& settings);

// Writes all 29 lines. True only when the whole file was written and is in place.
bool SaveSettings(const Settings& settings);

}  // namespace vantor
