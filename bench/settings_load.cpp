// Load time of large settings files of several shapes, at 1 MB and 4 MB: a loader linear in
// the file's size takes about four times as long for the larger one.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/settings_file.h"

namespace {

std::string Shape(int shape, std::size_t size) {
  switch (shape) {
    case 0: return "FOV=" + std::string(size, '9');
    case 1: return "FOV=" + std::string(size, ' ') + "90";
    case 2: return std::string(size, '=');
    case 3: {
      std::string lines;
      while (lines.size() < size) lines += "FOV=91\nHeight_3=0.4\n";
      return lines;
    }
    default: return "Height_" + std::string(size, '0') + "4=0.5";
  }
}

const char* const ShapeNames[] = {"one long number", "blanks before a number", "equals signs", "short lines",
                                  "a long Height_ index"};

void LoadLargeFile(benchmark::State& state) {
  const int shape = static_cast<int>(state.range(0));
  const auto size = static_cast<std::size_t>(state.range(1)) << 20;
  const std::string content = Shape(shape, size);
  std::FILE* file = std::fopen(vantor::SettingsFileName, "wb");
  if (file == nullptr || std::fwrite(content.data(), 1, content.size(), file) != content.size()) {
    state.SkipWithError("the settings file could not be written");
  }
  if (file != nullptr) std::fclose(file);
  for (auto _ : state) {
    vantor::Settings settings;
    benchmark::DoNotOptimize(vantor::LoadSettings(settings));
  }
  state.SetLabel(ShapeNames[shape]);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(LoadLargeFile)->ArgsProduct({{0, 1, 2, 3, 4}, {1, 4}})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Files are written in a folder of the benchmark's own.
  char folder[] = "/tmp/vantor-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr || chdir(folder) != 0) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
