// The web build's scenario player, run in node by run-node.js: plays a scenario with the plugin
// linked into this module and writes the trace, so that a run can be compared byte for byte with
// the same run on Linux.
//
//   node run-node.js --scenario drive.toml --trace trace.txt
//
// The run folder is the working folder: the plugin reads and saves Vantor.ini there. Exit
// status: 0 for a clean run, 1 when the run failed (each reason on stderr), 2 for bad usage.
#include <cstdio>
#include <cstdlib>

#include "sim/scenario/host_program.h"
#include "sim/web/play.h"

int main(int argc, char** argv) {
  sim::HostProgramOptions options;
  if (!sim::ParseHostProgramOptions(argc, argv, false, options)) {
    std::fputs("usage: node run-node.js --scenario FILE.toml --trace FILE\n", stderr);
    return sim::HostExitUsage;
  }
  // The script's fiber switches unwind main's own frames, so its return value does not reach
  // the caller: the status leaves through exit.
  std::exit(sim::PlayHostProgram<sim::WebHost>(options, sim::DefaultPluginPath()));
}
