// vantor-host.exe: plays a scenario with Vantor.asi under the stand-in ScriptHookV and writes
// the trace, so a run under Wine can be compared byte for byte with the same run on Linux.
//
//   vantor-host.exe --plugin Vantor.asi --scenario drive.toml --trace trace.txt
//
// The run folder is the working folder: the plugin reads and saves Vantor.ini there. Exit
// status: 0 for a clean run, 1 when the run failed (each reason on stderr), 2 for bad usage.
#include <cstdio>

#include "sim/scenario/host_program.h"
#include "sim/windows/play.h"

int main(int argc, char** argv) {
  sim::HostProgramOptions options;
  if (!sim::ParseHostProgramOptions(argc, argv, true, options)) {
    std::fputs("usage: vantor-host.exe --plugin Vantor.asi --scenario FILE.toml --trace FILE\n", stderr);
    return sim::HostExitUsage;
  }
  return sim::PlayHostProgram<sim::WindowsHost>(options, options.plugin);
}
