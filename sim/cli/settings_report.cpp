#include "sim/cli/settings_report.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "sim/core/text_file.h"

namespace sim {

namespace {

using vantor::SettingsLine;
using Effect = vantor::SettingsLine::Effect;

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view Blanks = " \t\r";
constexpr size_t TextColumnWidth = 24;  // the quoted lines are padded to this, longer ones not cut
constexpr std::string_view Words[] = {"true", "false", "yes", "no", "on", "off", "enabled", "disabled"};

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(Blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string Number(float value) {
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string Quoted(std::string_view bytes) { return std::string("\"").append(VisibleBytes(bytes)).append("\""); }

// The plugin's reader decides whether a key is one it knows.
bool KnownKey(std::string_view key) {
  vantor::Settings scratch;
  const Effect effect = vantor::ReadSettingsLine(scratch, std::string(key) + "=0").effect;
  return effect == Effect::Applied || effect == Effect::IndexOutOfRange;
}

// The known key a key written in another case stands for ("fov", "height_3"), or "".
std::string KeyInTheRightCase(std::string_view key) {
  for (const vantor::SettingRow& row : vantor::SettingRows) {
    if (key.size() < row.key.size() || !SameIgnoringCase(key.substr(0, row.key.size()), row.key)) continue;
    const std::string candidate = std::string(row.key) + std::string(key.substr(row.key.size()));
    if (KnownKey(candidate)) return candidate;
  }
  return {};
}

std::string_view WithoutMark(std::string_view line) {
  if (line.starts_with(ByteOrderMark)) line.remove_prefix(ByteOrderMark.size());
  return Trim(line);
}

bool IsComment(std::string_view line) {
  const std::string_view text = WithoutMark(line);
  return text.starts_with(';') || text.starts_with('#') || text.starts_with("//");
}

std::string NoEqualsHint(std::string_view line) {
  if (WithoutMark(line).starts_with('['))
    return "a section header; the file has no sections, the lines under it are read as usual";
  if (IsComment(line)) return "a comment";
  return "a setting is KEY=VALUE";
}

std::string UnknownKeyHint(const SettingsLine& line) {
  std::string_view key = line.key;
  if (key.empty()) return "the key is empty";
  const std::string_view trimmedAll = Trim(key);
  if (trimmedAll.starts_with(';') || trimmedAll.starts_with('#'))
    return "a comment with a \"=\" in it reads as a key, one that matches nothing: harmless";
  std::vector<std::string> why;
  const bool byteOrderMark = key.starts_with(ByteOrderMark);
  if (byteOrderMark) {
    key.remove_prefix(ByteOrderMark.size());
    why.push_back("a byte-order mark (bytes EF BB BF, which some editors put at the start of a file) stands before "
                  "the key: save the file without it, or leave the first line empty");
  }
  const std::string_view trimmed = Trim(key);
  if (trimmed.size() != key.size())
    why.push_back(key.ends_with(' ') || key.ends_with('\t') ? "a blank before the \"=\" is part of the key"
                                                            : "a blank before the key is part of it");
  std::string meant(trimmed);
  if (!KnownKey(meant)) {
    meant = KeyInTheRightCase(trimmed);
    if (!meant.empty()) why.push_back("keys are case-sensitive");
  }
  std::string hint;
  for (const std::string& reason : why) hint += (hint.empty() ? "" : "; ") + reason;
  if (meant.empty())
    return why.empty() ? "no setting has this key (the keys are those of the last part)"
                       : hint + "; even so it names no setting";
  return hint + "; write " + Quoted(meant + "=" + std::string(Trim(line.value)));
}

// Why a value read as it did, or "" when it read plainly.
std::string ValueHint(const SettingsLine& line) {
  const std::string_view value = line.value;
  const std::string_view rest = Trim(value.substr(std::min(line.numberLength, value.size())));
  if (line.numberLength == 0) {
    const std::string_view word = Trim(value);
    if (word.empty()) return "the value is empty, read as 0";
    for (const std::string_view known : Words)
      if (SameIgnoringCase(word, known)) return "a word means nothing here, read as 0: write 1 for on, 0 for off";
    if (word.starts_with(',') || word.starts_with('.'))
      return std::string("no digit before the point, read as 0: write 0.").append(word.substr(1));
    return "no number at the start of the value, read as 0";
  }
  if (rest.empty()) return {};
  if (rest.size() > 1 && rest[0] == ',' && std::isdigit(static_cast<unsigned char>(rest[1]))) {
    std::string dotted(Trim(value));
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    return "a decimal comma: the number stops at the \",\"; write " + dotted;
  }
  return "the text after the number, " + Quoted(rest) + ", is ignored";
}

std::string AppliedVerdict(const SettingsLine& line) {
  std::string field;
  if (line.heightIndex >= 0)
    field = "Height of vehicle class " + std::to_string(line.heightIndex);
  else if (line.setting->kind == vantor::SettingKind::Heights)
    field = "Height of every vehicle class (0 to 21)";
  else
    field = std::string(line.setting->key);
  std::string verdict = "applied: " + field + " = ";
  if (line.setting->kind == vantor::SettingKind::Flag)
    verdict += line.number != 0.0f && !std::isnan(line.number) ? "on" : "off";
  else
    verdict += Number(line.number);
  const std::string hint = ValueHint(line);
  if (!hint.empty()) verdict += " (" + hint + ")";
  return verdict;
}

// A later line that replaces all an earlier one did: the same setting, the same height entry,
// or "Height" over any height.
bool Overrides(const SettingsLine& later, const SettingsLine& earlier) {
  if (later.effect != Effect::Applied || earlier.effect != Effect::Applied) return false;
  if (later.setting != earlier.setting) return false;
  return later.heightIndex < 0 || later.heightIndex == earlier.heightIndex;
}

std::string Verdict(const SettingsLine& line, std::string_view text) {
  switch (line.effect) {
    case Effect::Empty:
      return "empty";
    case Effect::NoEquals:
      return "ignored, no \"=\": " + NoEqualsHint(text);
    case Effect::UnknownKey:
      return "ignored, unknown key " + Quoted(line.key) + ": " + UnknownKeyHint(line);
    case Effect::IndexOutOfRange:
      return "ignored: " + Quoted(line.key) +
             " has no height: the file holds classes 0 to 21; a vehicle of a class outside them (open-wheel "
             "cars are class 22) keeps the height of the class driven before";
    case Effect::Applied:
      return AppliedVerdict(line);
  }
  return {};
}

std::vector<std::string_view> SavedLines(const vantor::Settings& settings, std::string& text) {
  text.resize(vantor::SettingsTextCapacity);
  text.resize(vantor::WriteSettingsText(settings, text.data()));
  std::vector<std::string_view> lines;
  std::string_view rest = text;
  while (!rest.empty()) lines.push_back(vantor::NextSettingsLine(rest));
  return lines;
}

// The settings a file leaves the plugin with after start-up.
vantor::Settings SettingsAfterStartUp(const std::optional<std::string>& text) {
  vantor::Settings settings;
  if (text) vantor::ReadSettingsText(settings, *text);
  vantor::ClampSettings(settings);
  return settings;
}

bool HeightsAllEqual(const vantor::Settings& settings) {
  return std::all_of(std::begin(settings.Height), std::end(settings.Height),
                     [&](float height) { return height == settings.Height[0]; });
}

// The file's lines, each as the plugin reads it into one Settings record, in order.
struct FileReads {
  std::vector<std::string_view> lines;
  std::vector<SettingsLine> reads;
};

FileReads ReadFileLines(std::string_view rest, vantor::Settings& settings) {
  FileReads file;
  while (!rest.empty()) {
    file.lines.push_back(vantor::NextSettingsLine(rest));
    file.reads.push_back(vantor::ReadSettingsLine(settings, file.lines.back()));
  }
  return file;
}

// One line of the report for each line of the file, its text padded to a common width; returns
// how many lines a later one sets again.
int TellFileLines(const FileReads& file, SettingsReport& report) {
  const std::vector<std::string_view>& lines = file.lines;
  const std::vector<SettingsLine>& reads = file.reads;
  size_t width = 0;
  for (const std::string_view line : lines) width = std::max(width, Quoted(line).size());
  width = std::min(width, TextColumnWidth);
  int overridden = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string verdict = Verdict(reads[i], lines[i]);
    bool marked = reads[i].effect == Effect::Applied ? !ValueHint(reads[i]).empty()
                                                     : reads[i].effect != Effect::Empty && !IsComment(lines[i]);
    for (size_t later = i + 1; later < lines.size(); ++later)
      if (Overrides(reads[later], reads[i])) {
        verdict += "; line " + std::to_string(later + 1) + " sets it again";
        marked = true;
        ++overridden;
        break;
      }
    char number[32];
    std::snprintf(number, sizeof number, "%c line %3zu  ", marked ? '!' : ' ', i + 1);
    std::string quoted = Quoted(lines[i]);
    quoted.resize(std::max(quoted.size(), width), ' ');
    report.text += number + quoted + "  " + verdict + "\n";
    report.lines.push_back({marked, std::move(verdict)});
  }
  return overridden;
}

// The saved lines that start-up's bounds change, each as read and as kept; returns how many.
int TellBroughtWithinBounds(const vantor::Settings& read, const vantor::Settings& clamped, std::string& text) {
  std::string readText, clampedText;
  const std::vector<std::string_view> readLines = SavedLines(read, readText);
  const std::vector<std::string_view> clampedLines = SavedLines(clamped, clampedText);
  std::string changes;
  int changed = 0;
  for (size_t i = 0; i < readLines.size() && i < clampedLines.size(); ++i) {
    if (readLines[i] == clampedLines[i]) continue;
    changes += "  " + VisibleBytes(readLines[i]) + "  became  " + VisibleBytes(clampedLines[i]) + "\n";
    ++changed;
  }
  text += "\nBrought within bounds at start-up:\n" + (changed == 0 ? std::string("  nothing\n") : changes);
  return changed;
}

// The report of a file's lines, what the bounds changed and the gist; returns the settings the
// plugin holds after start-up.
vantor::Settings ReportFileLines(const std::string& text, const std::string& origin, SettingsReport& report) {
  vantor::Settings settings;
  const FileReads file = ReadFileLines(text, settings);
  int applied = 0, readAsZero = 0, ignored = 0;
  for (size_t i = 0; i < file.lines.size(); ++i) {
    const SettingsLine& read = file.reads[i];
    applied += read.effect == Effect::Applied;
    readAsZero += read.effect == Effect::Applied && read.numberLength == 0;
    ignored += read.effect != Effect::Applied && read.effect != Effect::Empty && !IsComment(file.lines[i]);
  }
  report.text = "Vantor.ini as the plugin reads it at start-up (" + origin + ", " + std::to_string(file.lines.size()) +
                " lines). Lines marked ! did nothing, or less than they seem to say.\n\n";
  const int overridden = TellFileLines(file, report);
  vantor::Settings clamped = settings;
  vantor::ClampSettings(clamped);
  const int changed = TellBroughtWithinBounds(settings, clamped, report.text);
  std::string notes;
  if (readAsZero > 0) notes += std::to_string(readAsZero) + " read as 0";
  if (overridden > 0) notes += (notes.empty() ? "" : ", ") + std::to_string(overridden) + " set again later";
  report.gist = std::to_string(file.lines.size()) + " lines, " + std::to_string(applied) + " applied" +
                (notes.empty() ? "" : " (" + notes + ")") + ", " + std::to_string(ignored) + " did nothing; " +
                std::to_string(changed) + (changed == 1 ? " value" : " values") + " brought within bounds";
  return clamped;
}

}  // namespace

bool HeightsFlattened(const std::optional<std::string>& before, const std::string& after, float& height) {
  const vantor::Settings kept = SettingsAfterStartUp(after);
  height = kept.Height[0];
  return HeightsAllEqual(kept) && !HeightsAllEqual(SettingsAfterStartUp(before));
}

bool ComposeStartingSettings(const std::optional<std::string>& scenarioText, const std::string& settingsPath,
                             const std::vector<std::string>& setLines, std::optional<std::string>& text,
                             std::string& error) {
  text = scenarioText;
  if (!settingsPath.empty()) {
    std::string bytes;
    if (!ReadWholeFile(settingsPath, bytes)) {
      error = "--settings " + settingsPath + ": no such file, or it cannot be read";
      return false;
    }
    text = std::move(bytes);
  }
  for (const std::string& line : setLines) {
    if (line.find('=') == std::string::npos || line.find_first_of("\r\n") != std::string::npos) {
      error = "--set " + line + ": give one KEY=VALUE";
      return false;
    }
    if (!text) text.emplace();
    const std::string lineEnd = text->find("\r\n") != std::string::npos ? "\r\n" : "\n";
    if (!text->empty() && !text->ends_with('\n')) *text += lineEnd;
    *text += line + lineEnd;
  }
  return true;
}

SettingsReport ReportSettings(const std::optional<std::string>& text, const std::string& origin) {
  SettingsReport report;
  vantor::Settings settings;
  if (text) {
    settings = ReportFileLines(*text, origin, report);
  } else {
    report.text = "No Vantor.ini at the start: the plugin keeps its defaults.\n";
    report.gist = "no Vantor.ini at the start: the defaults";
  }
  std::string saved;
  report.text += "\nThe settings the plugin holds after start-up, as it would save them:\n";
  for (const std::string_view line : SavedLines(settings, saved)) report.text += "  " + VisibleBytes(line) + "\n";
  return report;
}

}  // namespace sim
