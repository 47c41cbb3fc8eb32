#include "settings_folder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "settings/settings.h"
#include "settings/settings_file.h"

namespace vantor_fuzz {

namespace {

constexpr const char* LinkTarget = "linked.ini";
constexpr const char* TemporarySuffix = ".tmp";

constexpr std::size_t SavedLineCount() {
  std::size_t lines = 0;
  for (const vantor::SettingRow& row : vantor::SettingRows)
    lines += row.kind == vantor::SettingKind::Heights ? vantor::VehicleClassCount : 1;
  return lines;
}
static_assert(SavedLineCount() == 29);

void Require(bool done, const char* what) {
  if (done) return;
  std::perror(what);
  std::abort();
}

void EmptyFolder() {
  DIR* folder = opendir(".");
  Require(folder != nullptr, "plugin fuzz: cannot list its folder");
  while (const dirent* entry = readdir(folder)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (unlink(entry->d_name) != 0) Require(rmdir(entry->d_name) == 0, "plugin fuzz: cannot empty its folder");
  }
  closedir(folder);
}

void WriteFile(const char* name, const uint8_t* text, std::size_t size) {
  std::FILE* file = std::fopen(name, "wb");
  Require(file != nullptr, "plugin fuzz: cannot write the settings file");
  Require(std::fwrite(text, 1, size, file) == size && std::fclose(file) == 0, "plugin fuzz: cannot write the settings file");
}

bool Exists(const char* name) {
  struct stat status {};
  return lstat(name, &status) == 0;
}

bool TemporaryLeft(const char* target) {
  char temporary[64];
  std::snprintf(temporary, sizeof temporary, "%s%s", target, TemporarySuffix);
  return Exists(temporary);
}

// 29 lines, each ended by CR LF.
bool HasSavedLines(std::string_view text) {
  std::size_t lines = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    if (i == 0 || text[i - 1] != '\r') return false;
    ++lines;
  }
  return lines == SavedLineCount() && text.ends_with("\r\n");
}

const char* CheckSavedFile(const char* target) {
  char text[vantor::SettingsTextCapacity + 1];
  std::FILE* file = std::fopen(target, "rb");
  if (file == nullptr) return "a save reported, and no file";
  const std::size_t size = std::fread(text, 1, sizeof text, file);
  std::fclose(file);
  if (size > vantor::SettingsTextCapacity) return "a saved file longer than any save";
  const std::string_view saved(text, size);
  if (!HasSavedLines(saved)) return "a saved file without the 29 lines of a save";
  vantor::Settings settings;
  vantor::ReadSettingsText(settings, saved);
  vantor::ClampSettings(settings);
  char again[vantor::SettingsTextCapacity];
  if (saved != std::string_view(again, vantor::WriteSettingsText(settings, again)))
    return "a saved file that reading, clamping and writing changes";
  return nullptr;
}

}  // namespace

void PrepareSettingsFolder(FileMode mode, const uint8_t* text, std::size_t size) {
  EmptyFolder();
  switch (mode) {
    case FileMode::Plain: WriteFile(vantor::SettingsFileName, text, size); break;
    case FileMode::Absent: break;
    case FileMode::Link:
      WriteFile(LinkTarget, text, size);
      Require(symlink(LinkTarget, vantor::SettingsFileName) == 0, "plugin fuzz: cannot link the settings file");
      break;
    case FileMode::DanglingLink:
      Require(symlink(LinkTarget, vantor::SettingsFileName) == 0, "plugin fuzz: cannot link the settings file");
      break;
    case FileMode::Folder: Require(mkdir(vantor::SettingsFileName, 0700) == 0, "plugin fuzz: cannot make a folder"); break;
    case FileMode::Count: break;
  }
}

const char* CheckSave(FileMode mode, SaveNotice notice) {
  if (notice == SaveNotice::None) return nullptr;
  const bool linked = mode == FileMode::Link || mode == FileMode::DanglingLink;
  const char* target = linked ? LinkTarget : vantor::SettingsFileName;
  if (TemporaryLeft(target)) return "a save left its temporary file";
  if (mode == FileMode::Folder) {
    if (notice == SaveNotice::Saved) return "a save reported with a folder in the file's place";
    struct stat status {};
    return stat(vantor::SettingsFileName, &status) == 0 && S_ISDIR(status.st_mode) ? nullptr
                                                                                   : "a failed save moved the folder";
  }
  if (notice == SaveNotice::Failed) return "a save failed in a folder it may write";
  struct stat status {};
  if (linked && (lstat(vantor::SettingsFileName, &status) != 0 || !S_ISLNK(status.st_mode)))
    return "a save replaced the link instead of the file it leads to";
  return CheckSavedFile(target);
}

}  // namespace vantor_fuzz
