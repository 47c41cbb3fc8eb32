// The Windows build against the Linux build: every comparison scenario is played by the Linux
// stand-in with libvantor.so in this process and by vantor-host.exe with Vantor.asi under
// Wine. The traces must match call for call, and the settings files byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "compare_runs.h"
#include "sim/linux/play.h"
#include "sim/scenario/scenario_file.h"

namespace vantor_test {
namespace {

namespace fs = std::filesystem;

const fs::path RunsFolder = VANTOR_COMPARE_RUNS;
const char* const Wine = VANTOR_WINE;
const char* const WinePrefix = VANTOR_WINE_PREFIX;
const fs::path WindowsHost = VANTOR_WINDOWS_HOST;
const fs::path WindowsPlugin = VANTOR_WINDOWS_PLUGIN;
// Far above a normal run (about a second); a hung script must not hang the test run.
constexpr const char* WineTimeoutSeconds = "120";
constexpr const char* TraceName = "trace.txt";

// The host is started headless, in its own prefix, with its output kept in the run folder.
RunOutcome PlayUnderWine(const fs::path& scenarioFile, const fs::path& folder) {
  HostRun run;
  run.command = {Wine,       fs::relative(WindowsHost, folder).string(),  "--plugin",
                 fs::relative(WindowsPlugin, folder).string(),          "--scenario",
                 fs::relative(scenarioFile, folder).string(),           "--trace", TraceName};
  run.environment = {{"WINEPREFIX", WinePrefix}, {"WINEDEBUG", "-all"}, {"WINEDLLOVERRIDES", "mscoree,mshtml="},
                     {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
  run.traceName = TraceName;
  run.timeoutSeconds = WineTimeoutSeconds;
  return PlayWithHostProgram(run, folder);
}

class WindowsMatchesLinux : public testing::TestWithParam<std::string> {};

TEST_P(WindowsMatchesLinux, CallForCallAndSettingsFileByteForByte) {
  ExpectSameAsLinux(GetParam(), RunsFolder, PlayUnderWine, "Windows", "windows");
}

INSTANTIATE_TEST_SUITE_P(Compare, WindowsMatchesLinux, testing::ValuesIn(ComparisonScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& scenario) { return scenario.param; });

// The set is only worth its run time if, together, it makes the plugin use every call the
// world knows: a native missing here is a behaviour whose Windows build goes unchecked.
TEST(ComparisonSet, TogetherMakesEveryNativeAndHostCall) {
  std::set<std::string> called;
  for (const std::string& name : ComparisonScenarioNames()) {
    sim::Scenario scenario;
    std::string error;
    ASSERT_TRUE(sim::LoadScenarioFile(ComparisonScenarioPath(name).string(), scenario, error)) << error;
    const fs::path folder = RunsFolder / "coverage";
    const fs::path previous = fs::current_path();
    fs::current_path(FreshFolder(folder));
    sim::LinuxHost host;
    sim::PlayScenario(host, scenario, sim::DefaultPluginPath());
    fs::current_path(previous);
    for (const sim::TraceRecord& record : host.hook.trace.records) called.insert(sim::RecordName(record));
  }
  std::string missing;
  for (int index = 0; index < sim::NativeCount(); ++index)
    if (called.count(sim::NativeAt(index).name) == 0) missing += std::string(" ") + sim::NativeAt(index).name;
  EXPECT_EQ(missing, "") << "no comparison scenario makes these calls";
}

TEST(ComparisonSet, CoversTheSettingsFileCases) {
  bool withFile = false, withoutFile = false, blocked = false;
  for (const std::string& name : ComparisonScenarioNames()) {
    sim::Scenario scenario;
    std::string error;
    ASSERT_TRUE(sim::LoadScenarioFile(ComparisonScenarioPath(name).string(), scenario, error)) << error;
    withFile |= scenario.settingsFile.has_value();
    withoutFile |= !scenario.settingsFile && !scenario.settingsFileBlocked;
    blocked |= scenario.settingsFileBlocked;
  }
  EXPECT_TRUE(withFile) << "no scenario starts with a settings file";
  EXPECT_TRUE(withoutFile) << "no scenario starts without one";
  EXPECT_TRUE(blocked) << "no scenario has a settings file that cannot be written";
}

}  // namespace
}  // namespace vantor_test
