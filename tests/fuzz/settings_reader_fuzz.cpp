// Arbitrary bytes as the settings file: after loading and clamping, the record is within its
// bounds, and saving is a fixed point (save, load, save again gives the same bytes).
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "settings/settings.h"
#include "settings/settings_file.h"

namespace {

std::string ReadFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

void WriteFile(const char* path, const uint8_t* data, size_t size) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

bool Within(float value, float lower, float upper) { return value >= lower && value <= upper; }

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "settings fuzz: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Each run works in a folder of its own, since the plugin reads and writes relative names;
  // in memory where the machine has it, as every input is written, read and saved twice.
  std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm/vantor-fuzz-XXXXXX" : "/tmp/vantor-fuzz-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr || chdir(folder.c_str()) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFile(vantor::SettingsFileName, data, size);
  vantor::Settings settings;
  vantor::LoadSettings(settings);
  vantor::ClampSettings(settings);
  Check(Within(settings.FOV, vantor::FovMin, vantor::FovMax), "FOV out of bounds");
  for (const float height : settings.Height) Check(Within(height, vantor::HeightMin, vantor::HeightMax), "Height out of bounds");
  Check(Within(settings.LookSensitivity, vantor::LookSensitivityMin, vantor::LookSensitivityMax),
        "LookSensitivity out of bounds");

  Check(vantor::SaveSettings(settings), "saving the clamped record failed");
  const std::string first = ReadFile(vantor::SettingsFileName);
  vantor::Settings reread;
  vantor::LoadSettings(reread);
  vantor::ClampSettings(reread);
  Check(vantor::SaveSettings(reread), "saving the re-read record failed");
  Check(ReadFile(vantor::SettingsFileName) == first, "a second save gave other bytes");
  return 0;
}
