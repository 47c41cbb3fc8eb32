#include "compare_runs.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "sim/linux/play.h"
#include "sim/scenario/scenario_file.h"

namespace vantor_test {

namespace {

namespace fs = std::filesystem;

const fs::path ScenarioFolder = VANTOR_COMPARE_SCENARIOS;
constexpr const char* HostOutputName = "host-output.txt";
constexpr const char* SettingsName = "Vantor.ini";

}  // namespace

std::vector<std::string> ComparisonScenarioNames() {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(ScenarioFolder, error))
    if (entry.path().extension() == ".toml") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

fs::path ComparisonScenarioPath(const std::string& name) { return ScenarioFolder / (name + ".toml"); }

fs::path FreshFolder(const fs::path& folder) {
  std::error_code error;
  fs::remove_all(folder, error);
  fs::create_directories(folder);
  return folder;
}

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

RunOutcome PlayWithHostProgram(const HostRun& hostRun, const fs::path& folder) {
  FreshFolder(folder);
  std::vector<std::string> command{"timeout", hostRun.timeoutSeconds};
  command.insert(command.end(), hostRun.command.begin(), hostRun.command.end());
  std::vector<char*> arguments;
  for (std::string& argument : command) arguments.push_back(argument.data());
  arguments.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    const int output = open(HostOutputName, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (output < 0) _exit(126);
    dup2(output, STDOUT_FILENO);
    dup2(output, STDERR_FILENO);
    for (const auto& [name, value] : hostRun.environment) {
      if (value.empty()) unsetenv(name.c_str());
      else setenv(name.c_str(), value.c_str(), 1);
    }
    execvp(arguments[0], arguments.data());
    _exit(127);
  }
  RunOutcome run;
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) {
    run.failure = "could not start " + hostRun.command.front() + "\n";
    return run;
  }
  run.trace = ReadWholeFile(folder / hostRun.traceName);
  run.settings = ReadSettingsFileState(folder / SettingsName);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.failure = hostRun.command.front() + " exited with " + std::to_string(code) +
                  (code == 124 ? " (timed out)" : "") + "\n" + ReadWholeFile(folder / HostOutputName);
  }
  return run;
}

void ExpectSameRun(const RunOutcome& onLinux, const RunOutcome& other, const char* otherName, const fs::path& runs) {
  if (!onLinux.failure.empty()) ADD_FAILURE() << "the Linux run failed:\n" << onLinux.failure;
  if (!other.failure.empty()) ADD_FAILURE() << "the " << otherName << " run failed:\n" << other.failure;
  ASSERT_FALSE(onLinux.trace.empty());
  const std::string traceDifference =
      DescribeTraceDifference(onLinux.trace, other.trace, DifferenceContextLines, otherName);
  if (!traceDifference.empty()) ADD_FAILURE() << traceDifference << "runs kept in " << runs;
  const std::string fileDifference = DescribeSettingsFileDifference(onLinux.settings, other.settings, otherName);
  if (!fileDifference.empty()) ADD_FAILURE() << fileDifference << "runs kept in " << runs;
}

void ExpectSameAsLinux(const std::string& name, const fs::path& runs, OtherPlatformPlay playOther,
                       const char* otherName, const char* otherFolder) {
  const fs::path file = ComparisonScenarioPath(name);
  sim::Scenario scenario;
  std::string error;
  ASSERT_TRUE(sim::LoadScenarioFile(file.string(), scenario, error)) << error;
  const fs::path folder = runs / name;
  ExpectSameRun(PlayOnLinux(scenario, folder / "linux"), playOther(file, folder / otherFolder), otherName, folder);
}

}  // namespace vantor_test
