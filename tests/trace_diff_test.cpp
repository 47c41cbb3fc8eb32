// The comparison's reports: a real difference is never missed and is shown where it starts.
#include <gtest/gtest.h>

#include "trace_diff.h"

namespace vantor_test {
namespace {

const std::string Trace =
    "0 DllMain(module, 1)\n0 scriptRegister(module)\n0 PlayerPedId() -> 257\n0 scriptWait(0)\n"
    "1 PlayerPedId() -> 257\n1 scriptWait(0)\n2 DllMain(module, 0)\n";

TEST(TraceDifference, IdenticalTracesMatch) { EXPECT_EQ(DescribeTraceDifference(Trace, Trace), ""); }

TEST(TraceDifference, NamesTheFirstDifferingLineWithItsFrameAndBothSides) {
  std::string changed = Trace;
  changed.replace(changed.find("1 PlayerPedId() -> 257"), 22, "1 PlayerPedId() -> 258");
  const std::string report = DescribeTraceDifference(Trace, changed, 1);
  EXPECT_NE(report.find("line 5, frame 1"), std::string::npos) << report;
  EXPECT_NE(report.find("  > 5: 1 PlayerPedId() -> 257"), std::string::npos) << report;
  EXPECT_NE(report.find("  > 5: 1 PlayerPedId() -> 258"), std::string::npos) << report;
  EXPECT_NE(report.find("    4: 0 scriptWait(0)"), std::string::npos) << "context before" << report;
  EXPECT_NE(report.find("    6: 1 scriptWait(0)"), std::string::npos) << "context after" << report;
  EXPECT_EQ(report.find("    3:"), std::string::npos) << "only one line of context asked for" << report;
}

TEST(TraceDifference, AShortTraceDiffersWhereItStops) {
  const std::string cut = Trace.substr(0, Trace.find("1 PlayerPedId"));
  const std::string report = DescribeTraceDifference(Trace, cut);
  EXPECT_NE(report.find("line 5, frame 1"), std::string::npos) << report;
  EXPECT_NE(report.find("(the trace ends here)"), std::string::npos) << report;
  EXPECT_NE(DescribeTraceDifference("", Trace), "") << "an empty trace never matches a real one";
}

TEST(TraceDifference, ALineEndAloneStillDiffers) {
  EXPECT_NE(DescribeTraceDifference(Trace, Trace.substr(0, Trace.size() - 1)), "");
}

SettingsFileState File(std::string bytes) { return {SettingsFileState::Kind::File, std::move(bytes)}; }

TEST(SettingsFileDifference, ShowsTheFirstDifferingByteInItsLineEscaped) {
  const std::string report = DescribeSettingsFileDifference(File("ModEnabled=1\r\nFOV=80\r\n"),
                                                            File("ModEnabled=1\r\r\nFOV=80\r\r\n"));
  EXPECT_NE(report.find("byte 13 (line 1"), std::string::npos) << report;
  EXPECT_NE(report.find("Linux:   ModEnabled=1\\r\\n"), std::string::npos) << report;
  EXPECT_NE(report.find("Windows: ModEnabled=1\\r\\r\\n"), std::string::npos) << report;
}

TEST(SettingsFileDifference, AFileAgainstNoFileOrAFolderDiffers) {
  const SettingsFileState missing;
  const SettingsFileState folder{SettingsFileState::Kind::Folder, ""};
  EXPECT_EQ(DescribeSettingsFileDifference(missing, missing), "");
  EXPECT_EQ(DescribeSettingsFileDifference(folder, folder), "");
  EXPECT_NE(DescribeSettingsFileDifference(missing, File("")), "") << "an empty file is not a missing one";
  EXPECT_NE(DescribeSettingsFileDifference(folder, missing), "");
  EXPECT_NE(DescribeSettingsFileDifference(File("FOV=80\r\n"), File("FOV=80\r\nFOV")), "") << "a longer file";
}

}  // namespace
}  // namespace vantor_test
