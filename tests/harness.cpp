#include "harness.h"

#include <fstream>

#include "support.h"

namespace vantor_test {

void PluginTest::SetUp() {
  previousFolder = std::filesystem::current_path();
  folder = MakeScratchFolder("vantor-test");
  std::filesystem::current_path(folder);
}

void PluginTest::TearDown() {
  Unload();
  EXPECT_TRUE(world().errors.empty()) << "world faults, the first: " << world().errors.front();
  std::filesystem::current_path(previousFolder);
  RemoveScratchFolder(folder);
}

void PluginTest::Load() {
  ASSERT_TRUE(sim::LoadPlugin(host, sim::DefaultPluginPath())) << world().errors.front();
}

void PluginTest::RunFrames(int count, int32_t frameTimeMs) {
  for (int i = 0; i < count; ++i) ASSERT_TRUE(sim::StepFrame(host, frameTimeMs)) << world().errors.front();
}

void PluginTest::Unload() { sim::UnloadPlugin(host); }

void PluginTest::WriteSettingsFile(const std::string& content) {
  std::ofstream file(folder / "Vantor.ini", std::ios::binary);
  file << content;
}

std::string PluginTest::ReadSettingsFile() const { return ReadWholeFile(folder / "Vantor.ini"); }

std::vector<std::string> PluginTest::Lines(int32_t frame) const {
  std::vector<std::string> lines;
  for (const sim::TraceRecord& record : trace().records)
    if (record.frame == frame) lines.push_back(sim::FormatRecord(trace(), record));
  return lines;
}

std::vector<std::string> PluginTest::AllLines() const {
  std::vector<std::string> lines;
  for (const sim::TraceRecord& record : trace().records) lines.push_back(sim::FormatRecord(trace(), record));
  return lines;
}

std::vector<std::string> PluginTest::Names(int32_t frame) const {
  std::vector<std::string> names;
  for (const sim::TraceRecord& record : trace().records)
    if (record.frame == frame) names.emplace_back(sim::RecordName(record));
  return names;
}

std::vector<sim::TraceRecord> PluginTest::Calls(int32_t frame, const std::string& name) const {
  std::vector<sim::TraceRecord> calls;
  for (const sim::TraceRecord& record : trace().records)
    if (record.frame == frame && name == sim::RecordName(record)) calls.push_back(record);
  return calls;
}

float PluginTest::FloatArgument(const sim::TraceRecord& record, int argument) const {
  return FloatOfBits(static_cast<uint32_t>(sim::RecordSlot(trace(), record, argument)));
}

int32_t PluginTest::IntArgument(const sim::TraceRecord& record, int argument) const {
  return static_cast<int32_t>(static_cast<uint32_t>(sim::RecordSlot(trace(), record, argument)));
}

std::string PluginTest::TextArgument(const sim::TraceRecord& record, int argument) const {
  return std::string(sim::RecordText(trace(), record, argument));
}

}  // namespace vantor_test
