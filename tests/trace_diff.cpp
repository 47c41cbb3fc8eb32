#include "trace_diff.h"

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <vector>

#include "support.h"

namespace vantor_test {

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Every trace line starts with its frame number.
std::string FrameOf(const std::string& line) {
  const size_t space = line.find(' ');
  return line.substr(0, space);
}

void AppendContext(std::ostringstream& out, const char* side, const std::vector<std::string>& lines, size_t at,
                   int contextLines) {
  out << side << ":\n";
  const size_t first = at > static_cast<size_t>(contextLines) ? at - contextLines : 0;
  const size_t last = std::min(lines.size(), at + contextLines + 1);
  for (size_t i = first; i < last; ++i)
    out << (i == at ? "  > " : "    ") << (i + 1) << ": " << lines[i] << "\n";
  if (at >= lines.size()) out << "  > " << (at + 1) << ": (the trace ends here)\n";
}

// The line holding byte `at`, with its line end.
std::string LineAround(const std::string& bytes, size_t at) {
  if (at >= bytes.size()) return "(end of file)";
  const size_t start = at == 0 ? 0 : bytes.rfind('\n', at - 1);
  const size_t from = start == std::string::npos || at == 0 ? 0 : start + 1;
  const size_t end = bytes.find('\n', at);
  return EscapeBytes(bytes.substr(from, end == std::string::npos ? std::string::npos : end - from + 1));
}

const char* KindName(SettingsFileState::Kind kind) {
  switch (kind) {
    case SettingsFileState::Kind::Missing: return "no file";
    case SettingsFileState::Kind::Folder: return "a folder";
    case SettingsFileState::Kind::File: return "a file";
  }
  return "?";
}

}  // namespace

std::string DescribeTraceDifference(const std::string& linuxTrace, const std::string& otherTrace, int contextLines,
                                    const char* other) {
  if (linuxTrace == otherTrace) return {};
  const std::vector<std::string> linuxLines = SplitLines(linuxTrace);
  const std::vector<std::string> otherLines = SplitLines(otherTrace);
  size_t at = 0;
  while (at < linuxLines.size() && at < otherLines.size() && linuxLines[at] == otherLines[at]) ++at;
  std::ostringstream out;
  const std::string* differing = at < linuxLines.size()   ? &linuxLines[at]
                                 : at < otherLines.size() ? &otherLines[at]
                                                          : nullptr;
  out << "the traces differ at line " << (at + 1);
  if (differing != nullptr) out << ", frame " << FrameOf(*differing);
  out << " (Linux " << linuxLines.size() << " lines, " << other << " " << otherLines.size() << " lines)\n";
  if (differing == nullptr) out << "every line matches; the traces differ in their last line end\n";
  AppendContext(out, "Linux", linuxLines, at, contextLines);
  AppendContext(out, other, otherLines, at, contextLines);
  return out.str();
}

SettingsFileState ReadSettingsFileState(const std::filesystem::path& path) {
  SettingsFileState state;
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    state.kind = SettingsFileState::Kind::Folder;
  } else if (std::filesystem::exists(path, error)) {
    state.kind = SettingsFileState::Kind::File;
    state.bytes = ReadWholeFile(path);
  }
  return state;
}

std::string DescribeSettingsFileDifference(const SettingsFileState& linuxFile, const SettingsFileState& otherFile,
                                           const char* other) {
  std::ostringstream out;
  if (linuxFile.kind != otherFile.kind) {
    out << "Vantor.ini: Linux left " << KindName(linuxFile.kind) << ", " << other << " left "
        << KindName(otherFile.kind) << "\n";
    return out.str();
  }
  if (linuxFile.bytes == otherFile.bytes) return {};
  const auto mismatch =
      std::mismatch(linuxFile.bytes.begin(), linuxFile.bytes.end(), otherFile.bytes.begin(), otherFile.bytes.end());
  const auto at = static_cast<size_t>(mismatch.first - linuxFile.bytes.begin());
  const auto line = std::count(linuxFile.bytes.begin(), mismatch.first, '\n') + 1;
  // Both sides' lines start in one column.
  const std::string label = std::string(other) + ":";
  const int width = static_cast<int>(std::max(label.size(), std::strlen("Linux:"))) + 1;
  out << "Vantor.ini differs at byte " << at << " (line " << line << "; Linux " << linuxFile.bytes.size() << " bytes, "
      << other << " " << otherFile.bytes.size() << " bytes)\n"
      << "  " << std::left << std::setw(width) << "Linux:" << LineAround(linuxFile.bytes, at) << "\n"
      << "  " << std::setw(width) << label << LineAround(otherFile.bytes, at) << "\n";
  return out.str();
}

}  // namespace vantor_test
