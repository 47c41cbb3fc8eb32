#include "sim/scenario/host_program.h"

#include <cstdlib>
#include <cstring>

#include "sim/core/text_file.h"
#include "sim/core/trace.h"

namespace sim {

bool ParseHostProgramOptions(int argc, char** argv, bool takesPlugin, HostProgramOptions& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const char* name = argv[i];
    const char* value = argv[i + 1];
    if (takesPlugin && std::strcmp(name, "--plugin") == 0) options.plugin = value;
    else if (std::strcmp(name, "--scenario") == 0) options.scenario = value;
    else if (std::strcmp(name, "--trace") == 0) options.trace = value;
    else return false;
  }
  return argc % 2 == 1 && (!takesPlugin || !options.plugin.empty()) && !options.scenario.empty() &&
         !options.trace.empty();
}

int FinishHostProgram(const ScriptHook& hook, const std::string& tracePath) {
  int status = EXIT_SUCCESS;
  if (!WriteWholeFile(tracePath, FormatTrace(hook.trace))) {
    std::fprintf(stderr, "cannot write the trace to %s\n", tracePath.c_str());
    status = HostExitFault;
  }
  for (const std::string& fault : hook.world.errors) {
    std::fprintf(stderr, "fault: %s\n", fault.c_str());
    status = HostExitFault;
  }
  return status;
}

}  // namespace sim
