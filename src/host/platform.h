// What only the platform can do for the plugin, defined beside DllMain in each entry file.
#pragma once

#include <cstdio>
#include <string>

namespace vantor {

// The file that path leads to, symbolic links followed (the last one may point to no file
// yet); path itself when it is no link.
std::string ResolveFileLinks(const char* path);

// Asks the system to put what was written to file on the disk; the C library's buffer must
// have been flushed.
bool FlushFileToDisk(std::FILE* file);

// Puts temporary in target's place in one step and makes the change durable: once this
// answers true, a power cut leaves the new file. An existing target keeps its attributes
// where the system can keep them.
bool PutFileInPlace(const char* temporary, const char* target);

}  // namespace vantor
