// Reading the settings file whole, through the C library.
#include <cstddef>
#include <cstdio>
#include <string>

#include "settings/settings_file.h"

namespace vantor {

namespace {

constexpr std::size_t ReadChunkSize = 4096;  // small: the script runs on a fiber's own stack

}  // namespace

bool LoadSettings(Settings& settings) {
  // Binary: the line ends are handled by the reader, the same on every platform (no CR LF
  // translation and no end-of-file at a Ctrl-Z byte as in Windows text mode).
  std::FILE* file = std::fopen(SettingsFileName, "rb");
  if (file == nullptr) return false;
  // Read by chunks to the end rather than by a size asked first: a folder opened by that name
  // claims a size but gives no bytes.
  std::string text;
  char chunk[ReadChunkSize];
  for (std::size_t count; (count = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, count);
  std::fclose(file);
  return ReadSettingsText(settings, text);
}

}  // namespace vantor
