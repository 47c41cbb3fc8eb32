// Reading the settings file whole, through the C library.
#include <cstdio>
#include <memory>
#include <new>

#include "settings/settings_file.h"

namespace vantor {

bool LoadSettings(Settings& settings) {
  // Binary: the line ends are handled by the reader, the same on every platform (no CR LF
  // translation and no end-of-file at a Ctrl-Z byte as in Windows text mode).
  std::FILE* file = std::fopen(SettingsFileName, "rb");
  if (file == nullptr) return false;
  long size = -1;
  std::unique_ptr<char[]> bytes;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  // A size no memory can hold (a directory may claim one) reads as no file.
  if (size >= 0 && std::fseek(file, 0, SEEK_SET) == 0) bytes.reset(new (std::nothrow) char[size]);
  const auto length = static_cast<std::size_t>(size);
  const bool whole = bytes != nullptr && std::fread(bytes.get(), 1, length, file) == length;
  std::fclose(file);
  return whole && ReadSettingsText(settings, {bytes.get(), length});
}

}  // namespace vantor
