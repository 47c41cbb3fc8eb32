// The web build against the Linux build: every comparison scenario is played by the Linux
// stand-in with libvantor.so in this process and by the web module in node. The traces must
// match call for call, and the settings files byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "compare_runs.h"

namespace vantor_test {
namespace {

namespace fs = std::filesystem;

const fs::path RunsFolder = VANTOR_WEB_COMPARE_RUNS;
const char* const Node = VANTOR_NODE;
const fs::path WebRunner = VANTOR_WEB_RUNNER;
// Far above a normal run (under a second); a hung script must not hang the test run.
constexpr const char* NodeTimeoutSeconds = "120";
constexpr const char* TraceName = "trace.txt";

RunOutcome PlayInNode(const fs::path& scenarioFile, const fs::path& folder) {
  HostRun run;
  run.command = {Node, WebRunner.string(), "--scenario", fs::relative(scenarioFile, folder).string(), "--trace",
                 TraceName};
  run.traceName = TraceName;
  run.timeoutSeconds = NodeTimeoutSeconds;
  return PlayWithHostProgram(run, folder);
}

class WebMatchesLinux : public testing::TestWithParam<std::string> {};

TEST_P(WebMatchesLinux, CallForCallAndSettingsFileByteForByte) {
  ExpectSameAsLinux(GetParam(), RunsFolder, PlayInNode, "web", "web");
}

INSTANTIATE_TEST_SUITE_P(Compare, WebMatchesLinux, testing::ValuesIn(ComparisonScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& scenario) { return scenario.param; });

}  // namespace
}  // namespace vantor_test
