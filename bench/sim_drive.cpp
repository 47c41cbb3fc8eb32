// The simulator's own speed: the ten-minute drive (scenarios/long_drive.toml, 36,000 frames)
// played through the real plugin, with the trace kept in memory, and with the trace written out.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "sim/cli/trace_file.h"
#include "sim/linux/play.h"
#include "sim/scenario/scenario_file.h"

namespace {

constexpr const char* LongDrive = VANTOR_SOURCE_DIR "/scenarios/long_drive.toml";

const sim::Scenario& Drive() {
  static const sim::Scenario drive = [] {
    sim::Scenario scenario;
    std::string error;
    if (!sim::LoadScenarioFile(LongDrive, scenario, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::exit(1);
    }
    return scenario;
  }();
  return drive;
}

// The plugin reads and writes its settings file in the working folder: a folder of its own.
struct RunFolder {
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "vantor-bench";
  RunFolder() {
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
  }
  ~RunFolder() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
  }
};

void PlayLongDrive(benchmark::State& state, bool writeTrace) {
  const RunFolder folder;
  const sim::Scenario& drive = Drive();
  int64_t frames = 0;
  for (auto _ : state) {
    auto host = std::make_unique<sim::LinuxHost>();
    if (!sim::PlayScenario(*host, drive, sim::DefaultPluginPath())) {
      state.SkipWithError(host->hook.world.errors.front().c_str());
      return;
    }
    if (writeTrace && !sim::WriteTraceFile(host->hook.trace, "trace.txt")) {
      state.SkipWithError("cannot write trace.txt");
      return;
    }
    benchmark::DoNotOptimize(host->hook.trace.records.size());
    frames += drive.frames;
  }
  state.counters["frames_per_second"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

void BM_LongDrivePlayed(benchmark::State& state) { PlayLongDrive(state, false); }
void BM_LongDriveWithTraceFile(benchmark::State& state) { PlayLongDrive(state, true); }

BENCHMARK(BM_LongDrivePlayed)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LongDriveWithTraceFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
