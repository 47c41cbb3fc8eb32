// Test harness: a fresh stand-in host, a fresh working folder (the settings file lives
// there), the real libvantor.so, and helpers to read the trace of a frame.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sim/linux/host.h"

namespace vantor_test {

constexpr int32_t FrameTimeMs = 16;

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Loads the plugin (DllMain attach); the first RunFrames runs start-up and the first pass.
  void Load();
  void RunFrames(int count = 1, int32_t frameTimeMs = FrameTimeMs);
  void Unload();

  void WriteSettingsFile(const std::string& content);
  std::string ReadSettingsFile() const;

  sim::World& world() { return host.hook.world; }
  const sim::Trace& trace() const { return host.hook.trace; }

  // Trace lines of one frame, in call order, or of the whole run.
  std::vector<std::string> Lines(int32_t frame) const;
  std::vector<std::string> AllLines() const;
  // Names of the calls of one frame, in call order.
  std::vector<std::string> Names(int32_t frame) const;
  // Records of one frame with a given name.
  std::vector<sim::TraceRecord> Calls(int32_t frame, const std::string& name) const;
  int Count(int32_t frame, const std::string& name) const { return static_cast<int>(Calls(frame, name).size()); }
  float FloatArgument(const sim::TraceRecord& record, int argument) const;
  int32_t IntArgument(const sim::TraceRecord& record, int argument) const;
  std::string TextArgument(const sim::TraceRecord& record, int argument) const;
  // The frame the next RunFrames will run.
  int32_t NextFrame() { return world().frame; }

  sim::LinuxHost host;
  std::filesystem::path folder;
  std::filesystem::path previousFolder;
};

}  // namespace vantor_test
