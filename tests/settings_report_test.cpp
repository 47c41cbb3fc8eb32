// settings-read.txt: each kind of line gets the verdict the plugin's reader gives it, with the
// hint that explains it; then what the bounds changed and the settings the plugin ends with.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "sim/cli/compare.h"
#include "sim/cli/settings_report.h"
#include "support.h"

namespace {

// The verdict of a file of one line: the text after the quoted line.
std::string VerdictOf(const std::string& line) {
  const std::string report = sim::ReportSettings(line + "\r\n", "test").text;
  const size_t start = report.find(" line   1  ");
  const size_t end = report.find('\n', start);
  return report.substr(start, end - start);
}

TEST(SettingsReport, EachKindOfLineGetsTheReadersVerdictAndAHint) {
  struct Case {
    const char* line;
    std::vector<const char*> says;
  };
  const Case cases[] = {
      {"FOV=90", {"applied: FOV = 90"}},
      {"FOV=90deg", {"applied: FOV = 90", "\"deg\", is ignored"}},
      {"FOV = 85", {"ignored, unknown key \"FOV \"", "a blank before the \"=\"", "write \"FOV=85\""}},
      {"fov=85", {"ignored", "case-sensitive", "write \"FOV=85\""}},
      {"height_3=0.5", {"ignored", "case-sensitive", "write \"Height_3=0.5\""}},
      {"\xEF\xBB\xBF" "FOV=90", {"ignored", "\\xEF\\xBB\\xBF", "byte-order mark", "write \"FOV=90\""}},
      {"Speed=3", {"ignored, unknown key \"Speed\"", "no setting has this key"}},
      {"=5", {"ignored", "the key is empty"}},
      {"[Settings]", {"ignored, no \"=\"", "section header"}},
      {"; my camera", {"ignored, no \"=\"", "a comment"}},
      {"Height_0=0,55", {"applied: Height of vehicle class 0 = 0 ", "decimal comma", "write 0.55"}},
      {"Height_1 = 0.60", {"applied: Height of vehicle class 1 = 0.6"}},
      {"Height_=0.5", {"applied: Height of vehicle class 0 = 0.5"}},
      {"Height_ 3x=0.5", {"applied: Height of vehicle class 3 = 0.5"}},
      {"Height=0.5", {"applied: Height of every vehicle class (0 to 21) = 0.5"}},
      {"Height_22=0.5", {"ignored: \"Height_22\" has no height: the file holds classes 0 to 21"}},
      {"DynamicFOV=true", {"applied: DynamicFOV = off", "a word means nothing here"}},
      {"CornerLean=2", {"applied: CornerLean = on"}},
      {"ModEnabled=", {"applied: ModEnabled = off", "the value is empty"}},
  };
  for (const Case& c : cases) {
    const std::string verdict = VerdictOf(c.line);
    for (const char* part : c.says) EXPECT_NE(verdict.find(part), std::string::npos) << c.line << "\n" << verdict;
  }
}

TEST(SettingsReport, TellsTheBoundsAndEndsWithTheSettingsThePluginHolds) {
  const sim::SettingsReport report = sim::ReportSettings("FOV=150\nHeight_2=0.2\n\nFOV=150=x\n", "test");
  EXPECT_NE(report.text.find("FOV=150  became  FOV=110\n"), std::string::npos) << report.text;
  EXPECT_NE(report.text.find("Height_2=0.2  became  Height_2=0.3\n"), std::string::npos) << report.text;
  const std::string held = report.text.substr(report.text.find("as it would save them:\n"));
  EXPECT_EQ(std::count(held.begin(), held.end(), '\n'), 30) << "a heading and the 29 lines";
  EXPECT_NE(held.find("\n  FOV=110\n"), std::string::npos);
  EXPECT_NE(held.find("\n  BetterHookerView=0\n"), std::string::npos);
  EXPECT_NE(report.text.find("! line   1  \"FOV=150\"       applied: FOV = 150; line 4 sets it again\n"), std::string::npos)
      << report.text;
  EXPECT_EQ(report.gist, "4 lines, 3 applied (1 set again later), 0 did nothing; 2 values brought within bounds");

  const sim::SettingsReport none = sim::ReportSettings(std::nullopt, "");
  EXPECT_NE(none.text.find("No Vantor.ini at the start"), std::string::npos);
  EXPECT_NE(none.text.find("  FOV=80\n"), std::string::npos);
}

std::string SettingsPageExample(const std::string& name) {
  const std::string page = vantor_test::ReadWholeFile(std::filesystem::path(VANTOR_SOURCE_DIR) / "docs" / "settings.md");
  const size_t marker = page.find("<!-- example: " + name + " -->");
  if (marker == std::string::npos) return {};
  const size_t start = page.find('\n', page.find("```", marker)) + 1;
  return page.substr(start, page.find("```", start) - start);
}

// The settings page's worked example: the report it shows is the report, and the corrected file is clean.
TEST(SettingsReport, TheSettingsPagesWorkedExampleIsWhatTheReportSays) {
  std::string handWritten = "\xEF\xBB\xBF";
  for (const char c : SettingsPageExample("hand-written Vantor.ini")) handWritten += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::string shown = SettingsPageExample("its settings-read.txt");
  ASSERT_GT(handWritten.size(), 100u);
  ASSERT_FALSE(shown.empty());
  const std::string report = sim::ReportSettings(handWritten, "test").text;
  std::istringstream lines(shown);
  for (std::string line; std::getline(lines, line);) {
    if (line == "...") continue;
    EXPECT_NE(report.find(line + "\n"), std::string::npos) << line << "\n" << report;
  }

  const sim::SettingsReport corrected = sim::ReportSettings(SettingsPageExample("corrected Vantor.ini"), "test");
  EXPECT_EQ(corrected.text.find("\n! line"), std::string::npos) << corrected.text;
  EXPECT_EQ(corrected.gist, "9 lines, 8 applied, 0 did nothing; 0 values brought within bounds");
}

TEST(StartingSettings, SetLinesFollowTheFileInItsOwnLineEnds) {
  std::optional<std::string> text;
  std::string error;
  ASSERT_TRUE(sim::ComposeStartingSettings(std::string("FOV=90\r\nCornerLean=1"), "", {"FOV=60", "Height=0.5"}, text,
                                           error));
  EXPECT_EQ(*text, "FOV=90\r\nCornerLean=1\r\nFOV=60\r\nHeight=0.5\r\n") << "a last line without a line end is ended";
  ASSERT_TRUE(sim::ComposeStartingSettings(std::nullopt, "", {"FOV=60"}, text, error));
  EXPECT_EQ(*text, "FOV=60\n");
  ASSERT_TRUE(sim::ComposeStartingSettings(std::nullopt, "", {}, text, error));
  EXPECT_FALSE(text.has_value()) << "no file stays no file";

  EXPECT_FALSE(sim::ComposeStartingSettings(std::nullopt, "", {"FOV"}, text, error));
  EXPECT_NE(error.find("KEY=VALUE"), std::string::npos);
  EXPECT_FALSE(sim::ComposeStartingSettings(std::nullopt, "/nonexistent/Vantor.ini", {}, text, error));
  EXPECT_NE(error.find("/nonexistent/Vantor.ini"), std::string::npos);
}

TEST(CompareFigures, CountFirstPersonFramesOnlyAndTellLeanEachWay) {
  // Frame 0 is not in first person: its wide field of view does not count.
  const struct {
    bool active;
    float fov, lean, height;
    int32_t vehicleClass;
  } frames[] = {{false, 120.0f, 9.0f, 0.3f, 2}, {true, 85.0f, -3.0f, 0.6f, 2}, {true, 80.0f, 1.5f, 0.65f, 2},
                {true, 80.0f, 0.0f, 0.9f, 7}};
  std::vector<sim::CameraSample> samples;
  for (const auto& frame : frames) {
    sim::CameraSample& sample = samples.emplace_back();
    sample.hasVehicle = true;
    sample.active = frame.active;
    sample.fov = frame.fov;
    sample.lean = frame.lean;
    sample.heightAboveSeat = frame.height;
    sample.vehicleClass = frame.vehicleClass;
  }
  const sim::RunFigures figures = sim::FigureRun(samples);
  EXPECT_EQ(figures.firstPersonFrames, 3);
  EXPECT_EQ(figures.widestFov, 85.0f);
  EXPECT_EQ(figures.leanLeft, 3.0f);
  EXPECT_EQ(figures.leanRight, 1.5f);
  EXPECT_EQ(figures.heightByClass, (std::map<int32_t, float>{{2, 0.65f}, {7, 0.9f}}));
  const std::string table = sim::FiguresTable(figures, sim::RunFigures{}, "on", "off");
  EXPECT_NE(table.find("height, class 7, m"), std::string::npos) << table;
  EXPECT_NE(table.find("largest lean left        3.00               -\n"), std::string::npos) << table;
}

}  // namespace
