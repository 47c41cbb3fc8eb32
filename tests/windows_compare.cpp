// The Windows build against the Linux build: every comparison scenario is played by the Linux
// stand-in with libvantor.so in this process and by vantor-host.exe with Vantor.asi under
// Wine. The traces must match call for call, and the settings files byte for byte.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "sim/linux/play.h"
#include "sim/scenario/scenario_file.h"
#include "trace_diff.h"

namespace vantor_test {
namespace {

namespace fs = std::filesystem;

const fs::path ScenarioFolder = VANTOR_COMPARE_SCENARIOS;
const fs::path RunsFolder = VANTOR_COMPARE_RUNS;
const char* const Wine = VANTOR_WINE;
const char* const WinePrefix = VANTOR_WINE_PREFIX;
const fs::path WindowsHost = VANTOR_WINDOWS_HOST;
const fs::path WindowsPlugin = VANTOR_WINDOWS_PLUGIN;
// Far above a normal run (about a second); a hung script must not hang the test run.
constexpr const char* WineTimeoutSeconds = "120";
constexpr const char* TraceName = "trace.txt";
constexpr const char* HostOutputName = "host-output.txt";
constexpr const char* SettingsName = "Vantor.ini";

std::vector<std::string> ScenarioNames() {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(ScenarioFolder, error))
    if (entry.path().extension() == ".toml") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

fs::path ScenarioPath(const std::string& name) { return ScenarioFolder / (name + ".toml"); }

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

fs::path FreshFolder(const fs::path& folder) {
  std::error_code error;
  fs::remove_all(folder, error);
  fs::create_directories(folder);
  return folder;
}

struct RunOutcome {
  std::string trace;
  SettingsFileState settings;
  std::string failure;  // empty for a clean run
};

RunOutcome PlayOnLinux(const sim::Scenario& scenario, const fs::path& folder) {
  const fs::path previous = fs::current_path();
  fs::current_path(FreshFolder(folder));
  sim::LinuxHost host;
  sim::PlayScenario(host, scenario, sim::DefaultPluginPath());
  fs::current_path(previous);
  RunOutcome run;
  run.trace = sim::FormatTrace(host.hook.trace);
  run.settings = ReadSettingsFileState(folder / SettingsName);
  for (const std::string& error : host.hook.world.errors) run.failure += "fault: " + error + "\n";
  return run;
}

// The host is started headless, in its own prefix, with its output kept in the run folder.
RunOutcome PlayUnderWine(const fs::path& scenarioFile, const fs::path& folder) {
  FreshFolder(folder);
  const std::string host = fs::relative(WindowsHost, folder).string();
  const std::string plugin = fs::relative(WindowsPlugin, folder).string();
  const std::string scenario = fs::relative(scenarioFile, folder).string();
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    const int output = open(HostOutputName, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (output < 0) _exit(126);
    dup2(output, STDOUT_FILENO);
    dup2(output, STDERR_FILENO);
    setenv("WINEPREFIX", WinePrefix, 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    const char* const arguments[] = {"timeout", WineTimeoutSeconds, Wine,        host.c_str(), "--plugin",
                                     plugin.c_str(), "--scenario", scenario.c_str(), "--trace", TraceName,
                                     nullptr};
    execvp("timeout", const_cast<char* const*>(arguments));
    _exit(127);
  }
  RunOutcome run;
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) {
    run.failure = "could not start Wine\n";
    return run;
  }
  run.trace = ReadWholeFile(folder / TraceName);
  run.settings = ReadSettingsFileState(folder / SettingsName);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.failure = "vantor-host.exe exited with " + std::to_string(code) + (code == 124 ? " (timed out)" : "") +
                  "\n" + ReadWholeFile(folder / HostOutputName);
  }
  return run;
}

class WindowsMatchesLinux : public testing::TestWithParam<std::string> {};

TEST_P(WindowsMatchesLinux, CallForCallAndSettingsFileByteForByte) {
  const fs::path file = ScenarioPath(GetParam());
  sim::Scenario scenario;
  std::string error;
  ASSERT_TRUE(sim::LoadScenarioFile(file.string(), scenario, error)) << error;

  const fs::path runs = RunsFolder / GetParam();
  const RunOutcome onLinux = PlayOnLinux(scenario, runs / "linux");
  const RunOutcome underWine = PlayUnderWine(file, runs / "windows");
  if (!onLinux.failure.empty()) ADD_FAILURE() << "the Linux run failed:\n" << onLinux.failure;
  if (!underWine.failure.empty()) ADD_FAILURE() << "the Windows run failed:\n" << underWine.failure;
  ASSERT_FALSE(onLinux.trace.empty());
  const std::string traceDifference = DescribeTraceDifference(onLinux.trace, underWine.trace);
  if (!traceDifference.empty()) ADD_FAILURE() << traceDifference << "runs kept in " << runs;
  const std::string fileDifference = DescribeSettingsFileDifference(onLinux.settings, underWine.settings);
  if (!fileDifference.empty()) ADD_FAILURE() << fileDifference << "runs kept in " << runs;
}

INSTANTIATE_TEST_SUITE_P(Compare, WindowsMatchesLinux, testing::ValuesIn(ScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& scenario) { return scenario.param; });

// The set is only worth its run time if, together, it makes the plugin use every call the
// world knows: a native missing here is a behaviour whose Windows build goes unchecked.
TEST(ComparisonSet, TogetherMakesEveryNativeAndHostCall) {
  std::set<std::string> called;
  for (const std::string& name : ScenarioNames()) {
    sim::Scenario scenario;
    std::string error;
    ASSERT_TRUE(sim::LoadScenarioFile(ScenarioPath(name).string(), scenario, error)) << error;
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
  for (const std::string& name : ScenarioNames()) {
    sim::Scenario scenario;
    std::string error;
    ASSERT_TRUE(sim::LoadScenarioFile(ScenarioPath(name).string(), scenario, error)) << error;
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
