// Entry point of libvantor.so: the loader contract of the Windows build, with C linkage; and
// the platform's file functions.
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "host/platform.h"
#include "host/script.h"

extern "C" __attribute__((visibility("default"))) int32_t DllMain(void* module, uint32_t reason, void*) {
  return vantor::HandleLoaderCall(module, reason);
}

namespace vantor {

namespace {

constexpr int LinkLimit = 40;  // links followed at most, as the kernel follows in one path

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string ResolveFileLinks(const char* path) {
  std::string resolved = path;
  for (int i = 0; i < LinkLimit; ++i) {
    struct stat status {};
    if (lstat(resolved.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) break;
    char link[PATH_MAX];
    const ssize_t length = readlink(resolved.c_str(), link, sizeof link);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof link) break;
    const std::string next(link, static_cast<std::size_t>(length));
    resolved = next.front() == '/' ? next : FolderOf(resolved) + '/' + next;  // relative to the link's folder
  }
  return resolved;
}

bool FlushFileToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }

bool PutFileInPlace(const char* temporary, const char* target) {
  if (std::rename(temporary, target) != 0) return false;
  // The new name is on disk only once the folder holding it is.
  const int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return false;
  const bool synced = fsync(folder) == 0;
  close(folder);
  return synced;
}

}  // namespace vantor
