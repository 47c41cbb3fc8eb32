// The Vantor.ini a run starts from, and settings-read.txt: how the plugin reads that file at
// start-up, line by line, in plain words. The verdicts come from the plugin's own line reader run
// over the same bytes; the hints beside them only explain a line that did nothing or read as 0.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sim {

constexpr const char* SettingsReportFile = "settings-read.txt";

// The scenario's settings file, replaced by the bytes of `settingsPath` when one is given, then
// one line for each `--set` text (in the file's own line ends). None: no file at the start.
// False, with the reason, when the file cannot be read or a `--set` text has no "=".
bool ComposeStartingSettings(const std::optional<std::string>& scenarioText, const std::string& settingsPath,
                             const std::vector<std::string>& setLines, std::optional<std::string>& text,
                             std::string& error);

// One line of the file as the report tells it.
struct SettingsLineVerdict {
  bool marked = false;  // did nothing, or less than it seems to say
  std::string verdict;
};

struct SettingsReport {
  std::string text;  // settings-read.txt
  std::string gist;  // one line for the summary
  std::vector<SettingsLineVerdict> lines;  // the file's lines in order, as the text gives them
};

// `origin` says where the file came from, for the report's first line.
SettingsReport ReportSettings(const std::optional<std::string>& text, const std::string& origin);

// Whether a save flattened the heights: every class's height in `after` is the same, while the
// file the plugin started from (`before`, none: no file) had heights per class. The menu's
// Height row sets all 22 classes at once. `height` is then the one height left.
bool HeightsFlattened(const std::optional<std::string>& before, const std::string& after, float& height);

}  // namespace sim
