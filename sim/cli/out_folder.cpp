#include "sim/cli/out_folder.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "sim/core/text_file.h"

namespace sim {

namespace fs = std::filesystem;

namespace {

constexpr const char* FileTag = "file";
constexpr const char* FolderTag = "folder";
constexpr size_t ForeignNamesShown = 5;
constexpr uint64_t HashSeed = 0xcbf29ce484222325ull;  // 64-bit FNV-1a
constexpr uint64_t HashPrime = 0x100000001b3ull;

// False when the file cannot be read.
bool HashFile(const fs::path& path, uint64_t& hash) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  hash = HashSeed;
  char chunk[65536];
  while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
    for (std::streamsize i = 0; i < file.gcount(); ++i) hash = (hash ^ static_cast<unsigned char>(chunk[i])) * HashPrime;
    if (file.eof()) break;
  }
  return !file.bad();
}

// A listed path stays inside the folder, whatever the list says.
bool InsideFolder(const fs::path& relative) {
  if (relative.empty() || relative.is_absolute()) return false;
  return std::none_of(relative.begin(), relative.end(), [](const fs::path& part) { return part == ".."; });
}

// What the list of an earlier run names and is still as that run left it: files unchanged
// since, and folders.
std::set<fs::path> ListedAndUnchanged(const fs::path& folder) {
  std::set<fs::path> made;
  std::ifstream list(folder / MadeFilesList, std::ios::binary);
  std::string line;
  std::error_code failure;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    std::string tag, name;
    uint64_t listedHash = 0, hash = 0;
    uintmax_t size = 0;
    fields >> tag;
    if (tag == FileTag && !(fields >> std::hex >> listedHash >> std::dec >> size)) continue;
    std::getline(fields >> std::ws, name);
    if ((tag != FileTag && tag != FolderTag) || !InsideFolder(name)) continue;
    const fs::path path = folder / name;
    if (tag == FolderTag) {
      if (fs::is_directory(fs::symlink_status(path, failure))) made.insert(path);
    } else if (fs::is_regular_file(fs::symlink_status(path, failure)) && fs::file_size(path, failure) == size &&
               HashFile(path, hash) && hash == listedHash) {
      made.insert(path);
    }
  }
  return made;
}

}  // namespace

bool PrepareOutFolder(const fs::path& folder, std::string& error) {
  std::error_code failure;
  if (!fs::exists(fs::symlink_status(folder, failure))) {
    fs::create_directories(folder, failure);
    if (!failure) return true;
    error = "cannot make the output folder " + folder.string() + ": " + failure.message();
    return false;
  }
  if (!fs::is_directory(folder, failure)) {
    error = "the output folder " + folder.string() + " is not a folder";
    return false;
  }
  std::set<fs::path> made = ListedAndUnchanged(folder);
  made.insert(folder / MadeFilesList);
  std::vector<std::string> foreign;
  for (auto entry = fs::recursive_directory_iterator(folder, failure); !failure && entry != fs::end(entry);
       entry.increment(failure)) {
    if (made.contains(entry->path())) continue;
    foreign.push_back(entry->path().lexically_relative(folder).string() + (entry->is_directory(failure) ? "/" : ""));
    if (entry->is_directory(failure)) entry.disable_recursion_pending();
  }
  if (failure) {
    error = "cannot read the output folder " + folder.string() + ": " + failure.message();
    return false;
  }
  if (foreign.empty()) {
    // In reverse order a folder comes after everything in it, so it is empty by then.
    for (auto path = made.rbegin(); path != made.rend(); ++path) fs::remove(*path, failure);
    return true;
  }
  std::sort(foreign.begin(), foreign.end());
  error = "the output folder " + folder.string() + " holds what this command did not make (";
  for (size_t i = 0; i < foreign.size() && i < ForeignNamesShown; ++i) error += (i > 0 ? ", " : "") + foreign[i];
  if (foreign.size() > ForeignNamesShown) error += " and " + std::to_string(foreign.size() - ForeignNamesShown) + " more";
  error += "); it is left as it is: give another folder with --out, or empty this one";
  if (std::find(foreign.begin(), foreign.end(), "Vantor.ini") != foreign.end())
    error += ". To play a Vantor.ini, name it with --settings FILE";
  return false;
}

bool ListMadeFiles(const fs::path& folder) {
  std::string text;
  std::error_code failure;
  for (auto entry = fs::recursive_directory_iterator(folder, failure); !failure && entry != fs::end(entry);
       entry.increment(failure)) {
    const fs::path relative = entry->path().lexically_relative(folder);
    const std::string name = relative.string();
    if (name == MadeFilesList || name.find('\n') != std::string::npos) continue;
    if (entry->is_directory(failure)) {
      text += std::string(FolderTag) + " " + name + "\n";
      continue;
    }
    uint64_t hash = 0;
    if (!entry->is_regular_file(failure) || !HashFile(entry->path(), hash)) continue;
    char fields[64];
    std::snprintf(fields, sizeof fields, "%s %016" PRIx64 " %ju ", FileTag, hash, fs::file_size(entry->path(), failure));
    text += fields + name + "\n";
  }
  return WriteWholeFile(folder / MadeFilesList, text) && !failure;
}

FolderEntry EnterOutFolder(OutFolderVisit& visit, const fs::path& folder, std::string& error) {
  visit.path = folder;
  if (!PrepareOutFolder(folder, error)) return FolderEntry::Refused;
  std::error_code failure;
  visit.previous = fs::current_path(failure);
  fs::current_path(folder, failure);
  if (!failure) return FolderEntry::Entered;
  error = failure.message();
  return FolderEntry::CannotWork;
}

bool LeaveOutFolder(const OutFolderVisit& visit) {
  std::error_code failure;
  if (!visit.previous.empty()) fs::current_path(visit.previous, failure);
  return ListMadeFiles(visit.path);
}

}  // namespace sim
