// What the host programs that play one scenario file share (vantor-host.exe under Wine, the web
// module in node): their options, the run, the trace file and the exit status.
#pragma once

#include <cstdio>
#include <string>

#include "sim/core/play.h"
#include "sim/scenario/scenario_file.h"

namespace sim {

constexpr int HostExitFault = 1;  // the run failed; each reason is on stderr
constexpr int HostExitUsage = 2;

struct HostProgramOptions {
  std::string plugin;
  std::string scenario;
  std::string trace;
};

// "--name value" pairs: --scenario and --trace, and --plugin where the program loads one. False
// for any other name, a name without its value, or a missing one.
bool ParseHostProgramOptions(int argc, char** argv, bool takesPlugin, HostProgramOptions& options);

// Writes the trace (binary: LF line ends on every platform) and each fault to stderr. Returns the
// program's exit status.
int FinishHostProgram(const ScriptHook& hook, const std::string& tracePath);

// Reads the scenario file and plays it with a Host in the working folder, the run folder.
template <typename Host>
int PlayHostProgram(const HostProgramOptions& options, const std::string& pluginPath) {
  Scenario scenario;
  std::string error;
  if (!LoadScenarioFile(options.scenario, scenario, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return HostExitFault;
  }
  Host host;
  PlayScenario(host, scenario, pluginPath);
  return FinishHostProgram(host.hook, options.trace);
}

}  // namespace sim
