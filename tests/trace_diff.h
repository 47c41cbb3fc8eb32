// Describes how two runs of one scenario differ: their traces line by line and the settings
// files they left behind byte for byte. An empty description means the runs match.
#pragma once

#include <filesystem>
#include <string>

namespace vantor_test {

constexpr int DifferenceContextLines = 3;

// The first differing line of two traces, with its frame and the lines around it on both
// sides; a trace that stops early differs at the first line it lacks. `other` names the platform
// compared with Linux.
std::string DescribeTraceDifference(const std::string& linuxTrace, const std::string& otherTrace,
                                    int contextLines = DifferenceContextLines, const char* other = "Windows");

// What a run left in the place of "Vantor.ini": nothing, a folder, or a file's bytes.
struct SettingsFileState {
  enum class Kind { Missing, Folder, File } kind = Kind::Missing;
  std::string bytes;
};

SettingsFileState ReadSettingsFileState(const std::filesystem::path& path);

// The first differing byte of the two files, with the line it falls in shown escaped.
std::string DescribeSettingsFileDifference(const SettingsFileState& linuxFile, const SettingsFileState& otherFile,
                                           const char* other = "Windows");

}  // namespace vantor_test
