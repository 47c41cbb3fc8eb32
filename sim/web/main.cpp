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
#include <cstring>
#include <string>

#include "sim/core/trace.h"
#include "sim/scenario/scenario_file.h"
#include "sim/web/play.h"

namespace {

constexpr int ExitFault = 1;
constexpr int ExitUsage = 2;

struct Options {
  std::string scenario;
  std::string trace;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const char* name = argv[i];
    const char* value = argv[i + 1];
    if (std::strcmp(name, "--scenario") == 0) options.scenario = value;
    else if (std::strcmp(name, "--trace") == 0) options.trace = value;
    else return false;
  }
  return argc % 2 == 1 && !options.scenario.empty() && !options.trace.empty();
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  return std::fclose(file) == 0 && written;
}

int Play(const Options& options) {
  sim::Scenario scenario;
  std::string error;
  if (!sim::LoadScenarioFile(options.scenario, scenario, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return ExitFault;
  }
  sim::WebHost host;
  sim::PlayScenario(host, scenario, sim::DefaultPluginPath());

  int status = EXIT_SUCCESS;
  if (!WriteWholeFile(options.trace, sim::FormatTrace(host.hook.trace))) {
    std::fprintf(stderr, "cannot write the trace to %s\n", options.trace.c_str());
    status = ExitFault;
  }
  for (const std::string& fault : host.hook.world.errors) {
    std::fprintf(stderr, "fault: %s\n", fault.c_str());
    status = ExitFault;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs("usage: node run-node.js --scenario FILE.toml --trace FILE\n", stderr);
    return ExitUsage;
  }
  // The script's fiber switches unwind main's own frames, so its return value does not reach
  // the caller: the status leaves through exit.
  std::exit(Play(options));
}
