// The settings file "Vantor.ini": key=value lines in the working directory.
#pragma once

#include "settings/settings.h"

namespace vantor {

constexpr const char* SettingsFileName = "Vantor.ini";
// A save is written here first, then renamed over SettingsFileName.
constexpr const char* SettingsTemporaryFileName = "Vantor.ini.tmp";

// Reads the file over the record; fields the file does not name keep their values, and
// nothing is clamped. True when the file opened and at least one line carried a recognised
// key (a "Height_" key whose index is rejected counts). Linear in the file's size, no
// allocation beyond the file stream's own.
bool LoadSettings(Settings& settings);

// Writes all 29 lines (CR LF after each, the same bytes on every platform and in every
// locale) to SettingsTemporaryFileName, then renames it over SettingsFileName. True only when
// the whole file was written, closed and put in place. On failure the temporary is removed
// and an existing SettingsFileName stays as it was; an existing one that cannot be opened for
// writing (read-only, a directory) fails the save before anything is written.
bool SaveSettings(const Settings& settings);

}  // namespace vantor
