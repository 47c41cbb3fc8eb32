// vantor-host.exe: runs Vantor.asi under the stand-in ScriptHookV and writes the trace, so a
// run under Wine can be compared byte for byte with the same run on Linux.
//
//   vantor-host.exe --plugin Vantor.asi --trace trace.txt [--frames N] [--frame-ms MS]
//
// The settings file is Vantor.ini in the working folder, as the plugin reads it. Exit status:
// 0 for a clean run, 1 when the world saw a fault (each printed on stderr), 2 for bad usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sim/core/trace.h"
#include "sim/windows/host.h"

namespace {

constexpr int32_t DefaultFrames = 60;
constexpr int32_t DefaultFrameTimeMs = 16;
constexpr int ExitFault = 1;
constexpr int ExitUsage = 2;

struct Options {
  std::string plugin;
  std::string trace;
  int32_t frames = DefaultFrames;
  int32_t frameTimeMs = DefaultFrameTimeMs;
};

bool ParseCount(const char* text, int32_t& out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0 || value > 1000000) return false;
  out = static_cast<int32_t>(value);
  return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const char* name = argv[i];
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (std::strcmp(name, "--plugin") == 0) {
      options.plugin = value;
    } else if (std::strcmp(name, "--trace") == 0) {
      options.trace = value;
    } else if (std::strcmp(name, "--frames") == 0) {
      if (!ParseCount(value, options.frames)) return false;
    } else if (std::strcmp(name, "--frame-ms") == 0) {
      if (!ParseCount(value, options.frameTimeMs)) return false;
    } else {
      return false;
    }
  }
  return !options.plugin.empty() && !options.trace.empty();
}

// Binary mode: the trace's line ends are LF on both platforms.
bool WriteFile(const std::string& path, const std::string& content) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs("usage: vantor-host.exe --plugin Vantor.asi --trace FILE [--frames N] [--frame-ms MS]\n", stderr);
    return ExitUsage;
  }
  sim::WindowsHost host;
  if (sim::LoadPlugin(host, options.plugin)) {
    for (int32_t frame = 0; frame < options.frames; ++frame)
      if (!sim::StepFrame(host, options.frameTimeMs)) break;
  }
  sim::UnloadPlugin(host);

  int status = EXIT_SUCCESS;
  if (!WriteFile(options.trace, sim::FormatTrace(host.hook.trace))) {
    std::fprintf(stderr, "cannot write the trace to %s\n", options.trace.c_str());
    status = ExitFault;
  }
  for (const std::string& error : host.hook.world.errors) {
    std::fprintf(stderr, "fault: %s\n", error.c_str());
    status = ExitFault;
  }
  return status;
}
