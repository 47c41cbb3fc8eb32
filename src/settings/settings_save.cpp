// The durable save: a temporary beside the file, flushed to disk, then put in the file's place.
#include <cerrno>
#include <cstdio>
#include <string>

#include "host/platform.h"
#include "settings/settings_file.h"

namespace vantor {

namespace {

// A save is written first to the file's name with this added, beside the file.
constexpr const char* TemporarySuffix = ".tmp";

// An existing file must be one this process may write: opened for update, which changes
// nothing, and closed again at once. Without this a read-only file would simply be replaced.
bool TargetWritable(const char* target) {
  std::FILE* probe = std::fopen(target, "r+b");
  if (probe == nullptr) return errno == ENOENT;
  std::fclose(probe);
  return true;
}

}  // namespace

bool SaveSettings(const Settings& settings) {
  char text[SettingsTextCapacity];
  const std::size_t length = WriteSettingsText(settings, text);
  // The temporary stands beside the file a link leads to, so that the final rename stays
  // within one folder (and one file system) and the link itself is kept.
  const std::string target = ResolveFileLinks(SettingsFileName);
  const std::string temporary = target + TemporarySuffix;
  if (!TargetWritable(target.c_str())) return false;

  // A leftover temporary (a save cut short) goes first, so that nothing is written through
  // whatever stands under that name.
  std::remove(temporary.c_str());
  std::FILE* file = std::fopen(temporary.c_str(), "wb");  // binary: CR LF stays CR LF
  if (file == nullptr) return false;
  bool written = std::fwrite(text, 1, length, file) == length && std::fflush(file) == 0 && FlushFileToDisk(file);
  written = std::fclose(file) == 0 && written;
  if (written && PutFileInPlace(temporary.c_str(), target.c_str())) return true;
  std::remove(temporary.c_str());
  return false;
}

}  // namespace vantor
