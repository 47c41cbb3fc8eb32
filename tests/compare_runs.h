// What the comparisons of the other platforms with Linux share: the comparison scenarios, the
// Linux run in this process and another platform's host program run in its own folder.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "sim/core/scenario.h"
#include "support.h"
#include "trace_diff.h"

namespace vantor_test {

struct RunOutcome {
  std::string trace;
  SettingsFileState settings;
  std::string failure;  // empty for a clean run
};

// The comparison scenarios (scenarios/compare), by name, sorted.
std::vector<std::string> ComparisonScenarioNames();
std::filesystem::path ComparisonScenarioPath(const std::string& name);
std::filesystem::path FreshFolder(const std::filesystem::path& folder);

// The scenario through the Linux stand-in and libvantor.so, in folder.
RunOutcome PlayOnLinux(const sim::Scenario& scenario, const std::filesystem::path& folder);

// A host program run in folder (made fresh) under `timeout`, with its output kept there and the
// environment changed as given (an empty value unsets the variable): the trace it wrote as
// traceName and the Vantor.ini it left.
struct HostRun {
  std::vector<std::string> command;  // the program, found on PATH, and its arguments
  std::vector<std::pair<std::string, std::string>> environment;
  std::string traceName;
  std::string timeoutSeconds;
};
RunOutcome PlayWithHostProgram(const HostRun& run, const std::filesystem::path& folder);

// Fails the current test with each difference, naming the other platform and where the runs are.
void ExpectSameRun(const RunOutcome& onLinux, const RunOutcome& other, const char* otherName,
                   const std::filesystem::path& runs);

// Another platform's player of a scenario file in a folder of its own.
using OtherPlatformPlay = RunOutcome (*)(const std::filesystem::path& scenarioFile,
                                         const std::filesystem::path& folder);

// The comparison scenario `name` played on Linux and by `playOther`, kept in runs/<name>/linux
// and runs/<name>/<otherFolder>; fails the current test with each difference.
void ExpectSameAsLinux(const std::string& name, const std::filesystem::path& runs, OtherPlatformPlay playOther,
                       const char* otherName, const char* otherFolder);

}  // namespace vantor_test
