// Entry point of Vantor.asi, called by the Windows loader; and the platform's file functions.
#include <windows.h>
#include <io.h>

#include <string_view>

#include "host/platform.h"
#include "host/script.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  return vantor::HandleLoaderCall(module, reason);
}

namespace vantor {

namespace {

constexpr DWORD PathCapacity = 32768;  // the longest path the system accepts, in characters
constexpr std::string_view LongPathPrefix = "\\\\?\\";  // before a final path's drive letter

// The absolute form of path; path itself when it has none.
std::string FullPath(const char* path) {
  std::string full(PathCapacity, '\0');
  const DWORD length = GetFullPathNameA(path, PathCapacity, full.data(), nullptr);
  if (length == 0 || length >= PathCapacity) return path;
  full.resize(length);
  return full;
}

}  // namespace

std::string ResolveFileLinks(const char* path) {
  // The final path of an open file has every link followed, Wine's links to host files too
  // (which carry no link attribute). A file that is no link keeps its own, relative name.
  const HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return path;
  std::string final(PathCapacity, '\0');
  const DWORD length = GetFinalPathNameByHandleA(file, final.data(), PathCapacity, FILE_NAME_NORMALIZED);
  CloseHandle(file);
  if (length == 0 || length >= PathCapacity) return path;
  final.resize(length);
  const bool prefixed = final.starts_with(LongPathPrefix);
  if (prefixed && lstrcmpiA(final.c_str() + LongPathPrefix.size(), FullPath(path).c_str()) == 0) return path;
  return final;
}

bool FlushFileToDisk(std::FILE* file) {
  return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) != 0;
}

bool PutFileInPlace(const char* temporary, const char* target) {
  // ReplaceFile keeps the old file's attributes and security, but needs an old file; given
  // full paths, as Wine's fails on a bare name.
  if (GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES)
    return ReplaceFileA(FullPath(target).c_str(), FullPath(temporary).c_str(), nullptr, 0, nullptr, nullptr) != 0;
  return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace vantor
