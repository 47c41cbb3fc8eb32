// The settings file and its atomic save: reading rules, line and order rules,
// LoadSettings' answer, the bytes SaveSettings writes, the round trip, failed saves that keep
// the old file, and the time a large file takes. Every test runs twice: in the "C" locale and
// with a process locale whose decimal separator is a comma. LoadSettings and SaveSettings run
// in this process (linked from vantor_logic), in a scratch working folder.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "support.h"

namespace vantor_test {
namespace {

using namespace std::string_literals;
using vantor::ClampSettings;
using vantor::LoadSettings;
using vantor::SaveSettings;
using vantor::Settings;
using vantor::VehicleClassCount;
namespace fs = std::filesystem;

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// ---------------------------------------------------------------------------------------------
// Helpers

std::string OldContent() { return "FOV=99\r\nHeight_3=0.4\r\nmy own note\r\n"; }

std::string Describe(float value) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text.precision(9);
  text << value << " (bits 0x" << std::hex << FloatBits(value) << ")";
  return text.str();
}

void ExpectSameFloat(const std::string& field, float actual, float expected) {
  EXPECT_TRUE(SameFloat(actual, expected)) << field << " is " << Describe(actual) << ", expected "
                                           << Describe(expected);
}

void ExpectSameSettings(const Settings& actual, const Settings& expected) {
  EXPECT_EQ(actual.ModEnabled, expected.ModEnabled) << "ModEnabled";
  ExpectSameFloat("FOV", actual.FOV, expected.FOV);
  for (int i = 0; i < VehicleClassCount; ++i)
    ExpectSameFloat("Height[" + std::to_string(i) + "]", actual.Height[i], expected.Height[i]);
  ExpectSameFloat("LookSensitivity", actual.LookSensitivity, expected.LookSensitivity);
  EXPECT_EQ(actual.AutoRecenter, expected.AutoRecenter) << "AutoRecenter";
  EXPECT_EQ(actual.DynamicFOV, expected.DynamicFOV) << "DynamicFOV";
  EXPECT_EQ(actual.CornerLean, expected.CornerLean) << "CornerLean";
  EXPECT_EQ(actual.BetterHookerView, expected.BetterHookerView) << "BetterHookerView";
}

void WriteBytes(const fs::path& path, const std::string& content) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(content.data(), static_cast<std::streamsize>(content.size()));
}

// Printable form of a file's content for failure messages, cut short when long.
std::string Quote(const std::string& text) {
  // Appended, not "\"" + std::string: GCC 12's optimiser warns falsely about that.
  std::string out = "\"";
  out += EscapeBytes(text);
  if (out.size() > 200) out = out.substr(0, 200) + "...";
  out += '"';
  return out;
}

// A record whose every field differs from the defaults, to see that nothing was touched.
Settings Unusual() {
  Settings settings;
  settings.ModEnabled = false;
  settings.FOV = 101.0f;
  for (int i = 0; i < VehicleClassCount; ++i) settings.Height[i] = 0.4f + 0.01f * static_cast<float>(i);
  settings.LookSensitivity = 42.0f;
  settings.AutoRecenter = false;
  settings.DynamicFOV = true;
  settings.CornerLean = true;
  settings.BetterHookerView = true;
  return settings;
}

// The file saved from the defaults: SaveSettings on the defaults, 29 lines, 426 bytes.
std::string DefaultFileText() {
  std::string text = "ModEnabled=1\r\nFOV=80\r\n";
  for (int i = 0; i < 22; ++i) text += "Height_" + std::to_string(i) + "=0.7\r\n";
  text += "LookSensitivity=35\r\nAutoRecenter=1\r\nDynamicFOV=0\r\nCornerLean=0\r\nBetterHookerView=0\r\n";
  return text;
}

// ---------------------------------------------------------------------------------------------
// The fixture: a scratch working folder and, for the second run, a comma-decimal locale.

constexpr const char* CommaLocale = "de_DE.UTF-8";

bool SetCommaLocale(std::string& why) {
  if (std::setlocale(LC_ALL, CommaLocale) == nullptr) {
    if (geteuid() != 0) {
      why = std::string(CommaLocale) + " is not installed, and only root may generate it";
      return false;
    }
    if (std::system("localedef -i de_DE -f UTF-8 de_DE.UTF-8 >/dev/null 2>&1") != 0 ||
        std::setlocale(LC_ALL, CommaLocale) == nullptr) {
      why = std::string(CommaLocale) +
            " is not installed and 'localedef -i de_DE -f UTF-8 de_DE.UTF-8' failed (is the package locales there?)";
      return false;
    }
  }
  // The locale exists now, so constructing it does not throw.
  std::locale::global(std::locale(CommaLocale));
  if (std::strcmp(std::localeconv()->decimal_point, ",") != 0) {
    why = std::string(CommaLocale) + " does not have a comma as its decimal separator on this machine";
    return false;
  }
  return true;
}

class SettingsFileTest : public ::testing::TestWithParam<const char*> {
 public:
  void SetUp() override {
    previousFolder = fs::current_path();
    folder = MakeScratchFolder("vantor-settings");
    fs::current_path(folder);
    if (std::strcmp(GetParam(), "C") != 0) {
      localeChanged = true;
      std::string why;
      if (!SetCommaLocale(why)) GTEST_SKIP() << "comma-locale run skipped: " << why;
      char probe[16];
      std::snprintf(probe, sizeof probe, "%g", 0.5);
      ASSERT_STREQ(probe, "0,5") << "the process locale should print a decimal comma in this run";
    }
  }

  void TearDown() override {
    if (localeChanged) {
      std::setlocale(LC_ALL, "C");
      std::locale::global(std::locale::classic());
    }
    std::error_code ignored;
    fs::current_path(previousFolder, ignored);
    RemoveScratchFolder(folder);
  }

  fs::path ini() const { return folder / "Vantor.ini"; }
  fs::path tmp() const { return folder / "Vantor.ini.tmp"; }

  // Loads `content` over the defaults.
  Settings LoadOverDefaults(const std::string& content, bool* recognised = nullptr) {
    WriteBytes(ini(), content);
    Settings settings;
    const bool result = LoadSettings(settings);
    if (recognised != nullptr) *recognised = result;
    return settings;
  }

  fs::path folder;
  fs::path previousFolder;
  bool localeChanged = false;
};

std::string LocaleName(const ::testing::TestParamInfo<const char*>& info) {
  return std::strcmp(info.param, "C") == 0 ? "CLocale" : "CommaLocale";
}

INSTANTIATE_TEST_SUITE_P(Locales, SettingsFileTest, ::testing::Values("C", CommaLocale), LocaleName);

// ---------------------------------------------------------------------------------------------
// What one line did, as ReadSettingsLine tells it, and how NextSettingsLine cuts a text.

TEST(SettingsLines, EachLineTellsWhatItDidAndWithWhichRow) {
  using Effect = vantor::SettingsLine::Effect;
  struct Case {
    std::string line;
    Effect effect;
    std::string key;
    std::string value;
    const char* row;  // the key of the row named; null: none
    int32_t heightIndex;
    std::size_t numberLength;
  };
  const std::vector<Case> cases = {
      {"", Effect::Empty, "", "", nullptr, -1, 0},
      {"[Settings]", Effect::NoEquals, "[Settings]", "", nullptr, -1, 0},
      {"fov=90", Effect::UnknownKey, "fov", "90", nullptr, -1, 0},
      {"FOV= 90deg", Effect::Applied, "FOV", " 90deg", "FOV", -1, 3},
      {"ModEnabled=yes", Effect::Applied, "ModEnabled", "yes", "ModEnabled", -1, 0},
      {"Height=0.5=1", Effect::Applied, "Height", "0.5=1", "Height", -1, 3},
      {"Height_ 7x=0.5", Effect::Applied, "Height_ 7x", "0.5", "Height", 7, 3},
      {"Height_22=0.5", Effect::IndexOutOfRange, "Height_22", "0.5", "Height", -1, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Quote(c.line));
    Settings settings;
    const vantor::SettingsLine read = vantor::ReadSettingsLine(settings, c.line);
    EXPECT_EQ(read.effect, c.effect);
    EXPECT_EQ(read.key, c.key);
    EXPECT_EQ(read.value, c.value);
    EXPECT_EQ(read.setting == nullptr ? "" : std::string(read.setting->key), c.row == nullptr ? "" : c.row);
    EXPECT_EQ(read.heightIndex, c.heightIndex);
    EXPECT_EQ(read.numberLength, c.numberLength);
  }
}

TEST(SettingsLines, LinesEndAtLfWithoutACrJustBeforeIt) {
  std::string_view text = "a\r\nb\rc\n\nlast\r";
  std::vector<std::string> lines;
  while (!text.empty()) lines.emplace_back(vantor::NextSettingsLine(text));
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b\rc", "", "last\r"}));
}

// ---------------------------------------------------------------------------------------------
// Reading rules: one file each, read over the defaults.

struct ReadCase {
  std::string content;
  bool recognised;               // what LoadSettings returns
  void (*change)(Settings&);     // turns the defaults into the expected record; null: no change
};

void RunReadCases(SettingsFileTest& test, const std::vector<ReadCase>& cases) {
  for (const ReadCase& c : cases) {
    SCOPED_TRACE("file " + Quote(c.content));
    bool recognised = false;
    const Settings actual = test.LoadOverDefaults(c.content, &recognised);
    Settings expected;
    if (c.change != nullptr) c.change(expected);
    EXPECT_EQ(recognised, c.recognised) << "LoadSettings' result";
    ExpectSameSettings(actual, expected);
  }
}

#define READ_CASES(...) RunReadCases(*this, __VA_ARGS__)

TEST_P(SettingsFileTest, ValuesAreNumbersAsStrtofReadsThemWhateverTheLocale) {
  // Every number form is compared with strtof in the settings suite; here only what the line
  // and the locale add: the value is all bytes after the first "=", and a comma is never the
  // decimal separator.
  READ_CASES({
      {"FOV=90.5", true, [](Settings& s) { s.FOV = 90.5f; }},
      {"FOV=90,5", true, [](Settings& s) { s.FOV = 90.0f; }},
      {"FOV=90=95", true, [](Settings& s) { s.FOV = 90.0f; }},
      {"FOV==90", true, [](Settings& s) { s.FOV = 0.0f; }},
      {"FOV= 0x1.68p6 deg", true, [](Settings& s) { s.FOV = 90.0f; }},
      {"FOV=-1e39", true, [](Settings& s) { s.FOV = -Inf; }},
      {"FOV=nan(1)", true, [](Settings& s) { s.FOV = NaN; }},
      {"FOV=9\0" "5"s, true, [](Settings& s) { s.FOV = 9.0f; }},
  });
}

TEST_P(SettingsFileTest, FlagsAreNumbersTrueWhenNeitherZeroNorNaN) {
  READ_CASES({
      {"ModEnabled=0", true, [](Settings& s) { s.ModEnabled = false; }},
      {"ModEnabled=1", true, nullptr},
      {"ModEnabled=2", true, nullptr},
      {"ModEnabled=-1", true, nullptr},
      {"ModEnabled=true", true, [](Settings& s) { s.ModEnabled = false; }},
      {"ModEnabled=yes", true, [](Settings& s) { s.ModEnabled = false; }},
      {"ModEnabled=nan", true, [](Settings& s) { s.ModEnabled = false; }},
      {"ModEnabled=", true, [](Settings& s) { s.ModEnabled = false; }},
      {"ModEnabled=0.0", true, [](Settings& s) { s.ModEnabled = false; }},
      {"ModEnabled=-0", true, [](Settings& s) { s.ModEnabled = false; }},
      {"ModEnabled=1e-50", true, [](Settings& s) { s.ModEnabled = false; }},  // underflows to zero
      {"ModEnabled=0.001", true, nullptr},
      {"ModEnabled=-inf", true, nullptr},
      {"ModEnabled=0x1", true, nullptr},
      {"ModEnabled= 1 ", true, nullptr},
      {"DynamicFOV=1", true, [](Settings& s) { s.DynamicFOV = true; }},
      {"DynamicFOV=on", true, nullptr},
      {"CornerLean=7", true, [](Settings& s) { s.CornerLean = true; }},
      {"BetterHookerView=1", true, [](Settings& s) { s.BetterHookerView = true; }},
      {"AutoRecenter=0", true, [](Settings& s) { s.AutoRecenter = false; }},
      {"LookSensitivity=50", true, [](Settings& s) { s.LookSensitivity = 50.0f; }},
  });
}

TEST_P(SettingsFileTest, KeysAreWholeCaseSensitiveAndUntrimmed) {
  READ_CASES({
      {"FOV = 90", false, nullptr},  // the key is "FOV " with a trailing blank
      {"FOV =90", false, nullptr},
      {" FOV=90", false, nullptr},
      {"fov=90", false, nullptr},
      {"Fov=90", false, nullptr},
      {"MODENABLED=0", false, nullptr},
      {"FOVs=90", false, nullptr},
      {"FO=90", false, nullptr},
      {"FOV\0=90"s, false, nullptr},
      {"=5", false, nullptr},  // an empty key
      {"=", false, nullptr},
      {"[Settings]", false, nullptr},  // no "="
      {"FOV", false, nullptr},
      {"# FOV=90", false, nullptr},
      {"LookSensitivity90", false, nullptr},
      {"BetterHookerViews=1", false, nullptr},
      {"BetterHookerVie=1", false, nullptr},
  });
}

TEST_P(SettingsFileTest, HeightAndTheHeightIndexForms) {
  READ_CASES({
      {"Height=0.5", true, [](Settings& s) { std::fill(std::begin(s.Height), std::end(s.Height), 0.5f); }},
      {"Height= 0.5x", true, [](Settings& s) { std::fill(std::begin(s.Height), std::end(s.Height), 0.5f); }},
      {"Height_21=0.5", true, [](Settings& s) { s.Height[21] = 0.5f; }},
      {"Height_0=0.5", true, [](Settings& s) { s.Height[0] = 0.5f; }},
      {"Height_05=0.5", true, [](Settings& s) { s.Height[5] = 0.5f; }},
      {"Height_3x=0.5", true, [](Settings& s) { s.Height[3] = 0.5f; }},
      {"Height_=0.5", true, [](Settings& s) { s.Height[0] = 0.5f; }},  // no digits give index 0
      {"Height_x7=0.5", true, [](Settings& s) { s.Height[0] = 0.5f; }},
      {"Height_ 7=0.5", true, [](Settings& s) { s.Height[7] = 0.5f; }},  // atoi skips blanks
      {"Height_\t+7=0.5", true, [](Settings& s) { s.Height[7] = 0.5f; }},
      {"Height_-0=0.5", true, [](Settings& s) { s.Height[0] = 0.5f; }},
      {"Height_7 =0.5", true, [](Settings& s) { s.Height[7] = 0.5f; }},
      {"Height_" + std::string(40, '0') + "21=0.5", true, [](Settings& s) { s.Height[21] = 0.5f; }},
      {"Height_" + std::string(40, ' ') + "9=0.5", true, [](Settings& s) { s.Height[9] = 0.5f; }},
      {"Height_3==0.5", true, [](Settings& s) { s.Height[3] = 0.0f; }},
      // Rejected indices: the line counts as recognised and changes nothing.
      {"Height_22=0.5", true, nullptr},
      {"Height_-1=0.5", true, nullptr},
      {"Height_100=0.5", true, nullptr},
      {"Height_- 1=0.5", true, [](Settings& s) { s.Height[0] = 0.5f; }},  // atoi: "-" then a blank is 0
      // Beyond the 32-bit range: rejected, never wrapped (2^32 would wrap to 0, 2^32 + 5 to 5).
      {"Height_4294967296=0.5", true, nullptr},
      {"Height_4294967301=0.5", true, nullptr},
      {"Height_-4294967291=0.5", true, nullptr},
      {"Height_2147483648=0.5", true, nullptr},
      {"Height_99999999999999999999999999=0.5", true, nullptr},
      // Not the "Height" key and not the "Height_" form.
      {"Heights=0.5", false, nullptr},
      {"height_3=0.5", false, nullptr},
      {"Height 3=0.5", false, nullptr},
      {"Height-3=0.5", false, nullptr},
      {"Heigh=0.5", false, nullptr},
  });
}

TEST_P(SettingsFileTest, LineEndsBlankLinesAndALastLineWithoutEnd) {
  READ_CASES({
      {"FOV=90\n", true, [](Settings& s) { s.FOV = 90.0f; }},
      {"FOV=90\r\n", true, [](Settings& s) { s.FOV = 90.0f; }},
      {"FOV=90\r\nLookSensitivity=50\r\n", true,
       [](Settings& s) { s.FOV = 90.0f, s.LookSensitivity = 50.0f; }},
      {"FOV=90\nLookSensitivity=50", true, [](Settings& s) { s.FOV = 90.0f, s.LookSensitivity = 50.0f; }},
      {"\n\r\n\nFOV=90\n\n", true, [](Settings& s) { s.FOV = 90.0f; }},
      {"[Settings]\r\n; note\r\nFOV=90\r\nbogus\r\n", true, [](Settings& s) { s.FOV = 90.0f; }},
      // A lone CR ends nothing: the value is "90\rLookSensitivity=50".
      {"FOV=90\rLookSensitivity=50\r\n", true, [](Settings& s) { s.FOV = 90.0f; }},
      // A CR in the middle of a key is part of it.
      {"FOV\r=90\n", false, nullptr},
      {"\r\n", false, nullptr},
      {"ModEnabled=0\r", true, [](Settings& s) { s.ModEnabled = false; }},
  });
}

TEST_P(SettingsFileTest, LinesTakeEffectInFileOrder) {
  READ_CASES({
      {"Height=0.5\nHeight_3=0.9\n", true,
       [](Settings& s) {
         std::fill(std::begin(s.Height), std::end(s.Height), 0.5f);
         s.Height[3] = 0.9f;
       }},
      {"Height_3=0.9\nHeight=0.5\n", true,
       [](Settings& s) { std::fill(std::begin(s.Height), std::end(s.Height), 0.5f); }},
      {"FOV=90\nFOV=95\n", true, [](Settings& s) { s.FOV = 95.0f; }},
      {"FOV=90\nFOV=\n", true, [](Settings& s) { s.FOV = 0.0f; }},
      {"Height_4=0.4\nHeight_4=0.6\n", true, [](Settings& s) { s.Height[4] = 0.6f; }},
      {"ModEnabled=0\nModEnabled=1\n", true, nullptr},
      {"FOV=90\nfov=95\n", true, [](Settings& s) { s.FOV = 90.0f; }},
      // A byte-order mark spoils only the first line's key.
      {"\xEF\xBB\xBF" "FOV=90\r\nLookSensitivity=50\r\n", true, [](Settings& s) { s.LookSensitivity = 50.0f; }},
      {"\xEF\xBB\xBF" "FOV=90\r\n", false, nullptr},
  });
}

// ---------------------------------------------------------------------------------------------
// LoadSettings' answer and the record it leaves.

TEST_P(SettingsFileTest, WithoutAFileLoadAnswersFalseAndTouchesNothing) {
  Settings settings = Unusual();
  EXPECT_FALSE(LoadSettings(settings));
  ExpectSameSettings(settings, Unusual());
}

TEST_P(SettingsFileTest, AnEmptyFileOrOnlyUnknownKeysAnswersFalse) {
  for (const std::string& content : {""s, "\n\n"s, "Foo=1\r\nfov=2\r\n[Settings]\r\n=3\r\n"s, "Heights=0.5"s}) {
    SCOPED_TRACE(Quote(content));
    WriteBytes(ini(), content);
    Settings settings = Unusual();
    EXPECT_FALSE(LoadSettings(settings));
    ExpectSameSettings(settings, Unusual());
  }
}

TEST_P(SettingsFileTest, ARejectedHeightIndexCountsAsRecognised) {
  WriteBytes(ini(), "Foo=1\nHeight_22=0.5\n");
  Settings settings = Unusual();
  EXPECT_TRUE(LoadSettings(settings));
  ExpectSameSettings(settings, Unusual());
}

TEST_P(SettingsFileTest, ADirectoryNamedLikeTheFileReadsAsNoFile) {
  fs::create_directory(ini());
  Settings settings = Unusual();
  EXPECT_FALSE(LoadSettings(settings));
  ExpectSameSettings(settings, Unusual());
}

TEST_P(SettingsFileTest, LoadOverwritesOnlyTheFieldsNamedAndClampsNothing) {
  WriteBytes(ini(), "FOV=200\nHeight_2=-3\nLookSensitivity=nan\n");
  Settings settings = Unusual();
  EXPECT_TRUE(LoadSettings(settings));
  Settings expected = Unusual();
  expected.FOV = 200.0f;
  expected.Height[2] = -3.0f;
  expected.LookSensitivity = NaN;
  ExpectSameSettings(settings, expected);
}

// ---------------------------------------------------------------------------------------------
// The bytes SaveSettings writes.

TEST_P(SettingsFileTest, SavingTheDefaultsWritesTheWorkedExample) {
  ASSERT_TRUE(SaveSettings(Settings{}));
  const std::string written = ReadWholeFile(ini());
  EXPECT_EQ(written.size(), 426u);
  EXPECT_EQ(written, DefaultFileText());
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 29);
  EXPECT_EQ(written.find("\r\r"), std::string::npos);
  EXPECT_FALSE(fs::exists(tmp()));
}

TEST_P(SettingsFileTest, SavingAfterHeightAndAnOverlargeFovWritesTheClampedIndexLines) {
  WriteBytes(ini(), "Height=0.5\nFOV=150\n");
  Settings settings;
  ASSERT_TRUE(LoadSettings(settings));
  ClampSettings(settings);
  ASSERT_TRUE(SaveSettings(settings));
  std::string expected = "ModEnabled=1\r\nFOV=110\r\n";
  for (int i = 0; i < 22; ++i) expected += "Height_" + std::to_string(i) + "=0.5\r\n";
  expected += "LookSensitivity=35\r\nAutoRecenter=1\r\nDynamicFOV=0\r\nCornerLean=0\r\nBetterHookerView=0\r\n";
  const std::string written = ReadWholeFile(ini());
  EXPECT_EQ(written, expected);
  EXPECT_EQ(written.find("Height="), std::string::npos) << "the \"Height\" key is never written";
}

TEST_P(SettingsFileTest, ASaveReplacesAnOldFileWholeAndDropsWhatItDoesNotKnow) {
  WriteBytes(ini(), "[Settings]\r\n; comment\r\nFoo=1\r\nHeight=0.5\r\n\r\n" + std::string(2000, 'x'));
  WriteBytes(tmp(), "left over from a save that was cut short");
  ASSERT_TRUE(SaveSettings(Settings{}));
  EXPECT_EQ(ReadWholeFile(ini()), DefaultFileText());
  EXPECT_FALSE(fs::exists(tmp()));
}

TEST_P(SettingsFileTest, ASaveThroughALinkLandsInTheFileItLeadsToAndKeepsTheLink) {
  // A player's own folder, reached by a relative link, by a chain through an absolute one,
  // and by a link whose file is not there yet.
  const fs::path own = folder / "own";
  fs::create_directory(own);
  struct Case {
    const char* what;
    std::string link;
    bool fileThere;
  };
  const std::vector<Case> cases = {{"a relative link", "own/Vantor.ini", true},
                                   {"a chain of links", (folder / "chain").string(), true},
                                   {"a link to no file yet", "own/Vantor.ini", false}};
  fs::create_symlink(own / "Vantor.ini", folder / "chain");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::error_code ignored;
    fs::remove(ini(), ignored);
    fs::remove(own / "Vantor.ini", ignored);
    if (c.fileThere) WriteBytes(own / "Vantor.ini", OldContent());
    fs::create_symlink(c.link, ini());
    Settings settings;
    EXPECT_EQ(LoadSettings(settings), c.fileThere);
    ASSERT_TRUE(SaveSettings(Settings{}));
    EXPECT_TRUE(fs::is_symlink(ini()));
    EXPECT_EQ(fs::read_symlink(ini()), c.link);
    EXPECT_EQ(ReadWholeFile(own / "Vantor.ini"), DefaultFileText());
    EXPECT_FALSE(fs::exists(own / "Vantor.ini.tmp"));
    EXPECT_FALSE(fs::exists(tmp()));
  }
}

// ---------------------------------------------------------------------------------------------
// Round trip.

TEST_P(SettingsFileTest, SavedValuesReadBackAsWrittenToSixDigits) {
  // 0.7 + 0.02 in single precision is not the float nearest 0.72; it is written "0.72" and
  // read back as that float.
  Settings settings;
  settings.Height[0] = 0.7f + 0.02f;
  ASSERT_NE(FloatBits(settings.Height[0]), FloatBits(0.72f));
  ASSERT_TRUE(SaveSettings(settings));
  Settings back;
  ASSERT_TRUE(LoadSettings(back));
  ExpectSameFloat("Height[0]", back.Height[0], 0.72f);

  // Many values within the bounds, the menu's steps among them: each reads back as the float
  // nearest its six-digit text, and saving that again gives the same bytes.
  for (int round = 0; round < 40; ++round) {
    Settings values;
    values.ModEnabled = round % 2 == 0;
    values.AutoRecenter = round % 3 == 0;
    values.DynamicFOV = round % 5 == 0;
    values.CornerLean = round % 7 == 0;
    values.BetterHookerView = round % 11 == 0;
    values.FOV = 55.0f + 1.37f * static_cast<float>(round);
    for (int i = 0; i < VehicleClassCount; ++i)
      values.Height[i] = 0.3f + 0.0171f * static_cast<float>((round * 7 + i) % 41) + 0.02f * static_cast<float>(i % 3);
    values.LookSensitivity = 10.0f + 1.7777777f * static_cast<float>(round);
    ASSERT_TRUE(SaveSettings(values));
    const std::string first = ReadWholeFile(ini());
    Settings read;
    ASSERT_TRUE(LoadSettings(read));
    EXPECT_EQ(read.ModEnabled, values.ModEnabled);
    EXPECT_EQ(read.AutoRecenter, values.AutoRecenter);
    EXPECT_EQ(read.DynamicFOV, values.DynamicFOV);
    EXPECT_EQ(read.CornerLean, values.CornerLean);
    EXPECT_EQ(read.BetterHookerView, values.BetterHookerView);
    const auto close = [](float a, float b) { return std::fabs(a - b) <= 5e-6f * std::fabs(b); };
    EXPECT_TRUE(close(read.FOV, values.FOV)) << Describe(read.FOV) << " vs " << Describe(values.FOV);
    EXPECT_TRUE(close(read.LookSensitivity, values.LookSensitivity));
    for (int i = 0; i < VehicleClassCount; ++i) EXPECT_TRUE(close(read.Height[i], values.Height[i])) << i;
    ASSERT_TRUE(SaveSettings(read));
    EXPECT_EQ(ReadWholeFile(ini()), first) << "round " << round;
  }
}

// ---------------------------------------------------------------------------------------------
// Failed saves: answer false, keep the old file byte for byte, leave no temporary.

TEST_P(SettingsFileTest, SaveIntoADirectoryNamedLikeTheFileFails) {
  fs::create_directory(ini());
  WriteBytes(ini() / "inside", "kept");
  EXPECT_FALSE(SaveSettings(Settings{}));
  EXPECT_TRUE(fs::is_directory(ini()));
  EXPECT_EQ(ReadWholeFile(ini() / "inside"), "kept");
  EXPECT_FALSE(fs::exists(tmp()));
}

// Runs a save as an ordinary user, whom permission bits stop: this process itself when it is
// not root, else a child process that has given up root for the user "nobody" (65534), in a
// folder and file handed to that user. Answers 1 saved, 0 failed, -1 could not drop root.
int SaveAsOrdinaryUser(const fs::path& folder) {
  if (geteuid() != 0) return SaveSettings(Settings{}) ? 1 : 0;
  constexpr uid_t Nobody = 65534;
  if (chown(folder.c_str(), Nobody, Nobody) != 0) return -1;
  for (const char* name : {"Vantor.ini", "Vantor.ini.tmp"})
    if (fs::exists(folder / name) && chown((folder / name).c_str(), Nobody, Nobody) != 0) return -1;
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0) _exit(3);
    _exit(SaveSettings(Settings{}) ? 1 : 0);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  const int code = WEXITSTATUS(status);
  return code == 0 || code == 1 ? code : -1;
}

TEST_P(SettingsFileTest, SaveIntoAReadOnlyFileFailsAndKeepsIt) {
  // Renaming over a read-only file would succeed in a writable folder: the save must see
  // first that the file cannot be written.
  WriteBytes(ini(), OldContent());
  fs::permissions(ini(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const int saved = SaveAsOrdinaryUser(folder);
  if (saved < 0) GTEST_SKIP() << "running as root, and giving up root for the user nobody failed";
  EXPECT_EQ(saved, 0) << "the save should fail";
  EXPECT_EQ(ReadWholeFile(ini()), OldContent());
  EXPECT_FALSE(fs::exists(tmp()));
}

TEST_P(SettingsFileTest, SaveIntoAnImmutableFileFailsAndKeepsItEvenForRoot) {
  WriteBytes(ini(), OldContent());
  if (geteuid() != 0) GTEST_SKIP() << "only root may set the immutable attribute; the read-only case covers this user";
  if (std::system("chattr +i Vantor.ini >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "'chattr +i' is not available here (no e2fsprogs, or a file system without the attribute)";
  const bool saved = SaveSettings(Settings{});
  [[maybe_unused]] const int cleared = std::system("chattr -i Vantor.ini >/dev/null 2>&1");
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadWholeFile(ini()), OldContent());
  EXPECT_FALSE(fs::exists(tmp()));
}

TEST_P(SettingsFileTest, SaveIntoAFolderThatCannotBeWrittenFailsAndKeepsTheFile) {
  WriteBytes(ini(), OldContent());
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  const int saved = SaveAsOrdinaryUser(folder);
  fs::permissions(folder, fs::perms::owner_all);
  if (saved < 0) GTEST_SKIP() << "running as root, and giving up root for the user nobody failed";
  EXPECT_EQ(saved, 0) << "the save should fail";
  EXPECT_EQ(ReadWholeFile(ini()), OldContent());
  EXPECT_FALSE(fs::exists(tmp()));
}

TEST_P(SettingsFileTest, SaveIntoAFolderThatNoLongerExistsFails) {
  // The working folder removed under the process: nothing can be created in it, root or not.
  const fs::path gone = folder / "gone";
  fs::create_directory(gone);
  fs::current_path(gone);
  fs::remove(gone);
  const bool saved = SaveSettings(Settings{});
  fs::current_path(folder);
  EXPECT_FALSE(saved);
  EXPECT_FALSE(fs::exists(gone));
}

TEST_P(SettingsFileTest, ASaveThatStopsPartWayFailsAndKeepsTheOldFile) {
  // A file-size limit of 100 bytes stops the 426-byte temporary part way, for root too.
  WriteBytes(ini(), OldContent());
  struct rlimit previous {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = previous;
  limited.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const bool saved = SaveSettings(Settings{});
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadWholeFile(ini()), OldContent());
  EXPECT_FALSE(fs::exists(tmp()));
}

TEST_P(SettingsFileTest, ATemporaryNameTakenByAFolderFailsTheSaveAndKeepsTheFile) {
  WriteBytes(ini(), OldContent());
  fs::create_directory(tmp());
  WriteBytes(tmp() / "inside", "kept");
  EXPECT_FALSE(SaveSettings(Settings{}));
  EXPECT_EQ(ReadWholeFile(ini()), OldContent());
  EXPECT_EQ(ReadWholeFile(tmp() / "inside"), "kept");
}

// ---------------------------------------------------------------------------------------------
// Large files load with exact results (their load time is measured by bench/settings_load).

TEST_P(SettingsFileTest, AMegabyteFileOfAnyShapeLoadsExactly) {
  constexpr std::size_t Mega = 1 << 20;
  struct Case {
    std::string what;
    std::string content;
    bool recognised;
    void (*change)(Settings&);
  };
  const std::vector<Case> cases = {
      {"one line of digits", "FOV=" + std::string(Mega, '9'), true, [](Settings& s) { s.FOV = Inf; }},
      {"a one and a million zeros, scaled back", "FOV=1" + std::string(Mega, '0') + "e-1048576", true,
       [](Settings& s) { s.FOV = 1.0f; }},
      {"a million zeros after the point", "FOV=0." + std::string(Mega, '0') + "5e1048577", true,
       [](Settings& s) { s.FOV = 5.0f; }},
      // 2^24 + 1 lies half-way between two floats: it rounds to even, unless a digit far
      // away tips it up.
      {"a tie", "FOV=16777217." + std::string(Mega, '0'), true, [](Settings& s) { s.FOV = 16777216.0f; }},
      {"a tie broken a megabyte away", "FOV=16777217." + std::string(Mega, '0') + "1", true,
       [](Settings& s) { s.FOV = 16777218.0f; }},
      {"blanks before a number", "FOV=" + std::string(Mega, ' ') + "90", true, [](Settings& s) { s.FOV = 90.0f; }},
      {"a long Height_ index", "Height_" + std::string(Mega, '0') + "4=0.5", true,
       [](Settings& s) { s.Height[4] = 0.5f; }},
      {"a long unknown key", std::string(Mega, 'F') + "=1", false, nullptr},
      {"one line of equals signs", std::string(Mega, '='), false, nullptr},
      {"no equals sign at all", std::string(Mega, 'x'), false, nullptr},
      {"only line ends", std::string(Mega, '\n'), false, nullptr},
      {"only CR LF", [] {
         std::string s;
         for (std::size_t i = 0; i < Mega / 2; ++i) s += "\r\n";
         return s;
       }(), false, nullptr},
      {"many short lines", [] {
         std::string s;
         while (s.size() < Mega) s += "FOV=91\nHeight_3=0.4\n";
         return s;
       }(), true, [](Settings& s) { s.FOV = 91.0f, s.Height[3] = 0.4f; }},
      {"random bytes", [] {
         std::string s(Mega, '\0');
         uint32_t state = 12345;
         for (char& c : s) {
           state = state * 1664525u + 1013904223u;
           c = static_cast<char>(state >> 24);
         }
         return s;
       }(), false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(ini(), c.content);
    Settings settings;
    const bool recognised = LoadSettings(settings);
    if (c.what != "random bytes") {
      EXPECT_EQ(recognised, c.recognised);
      Settings expected;
      if (c.change != nullptr) c.change(expected);
      ExpectSameSettings(settings, expected);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The order that makes a save survive a power cut, seen in the system calls of the plugin
// saving from its menu in the simulator: the temporary written and flushed to disk before it
// replaces the file, then the folder flushed.

#ifdef VANTOR_SIM_PATH
TEST(SaveOrder, TheTemporaryReachesTheDiskBeforeTheRenameAndTheFolderAfterIt) {
  if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
  const fs::path folder = MakeScratchFolder("vantor-strace");
  // The leak checker of a sanitizer build cannot run under ptrace.
  const std::string command = "ASAN_OPTIONS=detect_leaks=0 strace -f -qq -e trace=openat,write,fsync,close,rename -o '" +
                              (folder / "calls").string() + "' '" VANTOR_SIM_PATH "' '" VANTOR_SOURCE_DIR
                              "/scenarios/compare/save_defaults.toml' --out '" + (folder / "run").string() +
                              "' --no-plot >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  // The calls on the temporary's descriptor and on the folder's, in order; "N" stands for
  // the descriptor, so that the order is all that is compared.
  std::istringstream calls(ReadWholeFile(folder / "calls"));
  std::vector<std::string> seen;
  std::string temporary;
  std::string directory;
  for (std::string line; std::getline(calls, line);) {
    line = line.substr(std::min(line.find_first_not_of("0123456789 "), line.size()));  // the process id off
    const std::string result = line.substr(line.rfind(' ') + 1);
    if (line.starts_with("openat(AT_FDCWD, \"Vantor.ini.tmp\", O_WRONLY|O_CREAT|O_TRUNC")) {
      temporary = result;
      seen.push_back("open temporary");
    } else if (line.starts_with("openat(AT_FDCWD, \".\", O_RDONLY") && line.find("O_DIRECTORY") != std::string::npos) {
      directory = result;
      seen.push_back("open folder");
    } else if (line.starts_with("rename(\"Vantor.ini.tmp\", \"Vantor.ini\")")) {
      seen.push_back("rename");
    } else {
      for (const auto& [fd, name] : {std::pair{temporary, "temporary"}, std::pair{directory, "folder"}}) {
        if (fd.empty()) continue;
        for (const char* verb : {"write", "fsync", "close"}) {
          if (line.starts_with(std::string(verb) + "(" + fd + ",")) seen.push_back(std::string(verb) + " " + name);
          if (line.starts_with(std::string(verb) + "(" + fd + ")")) seen.push_back(std::string(verb) + " " + name);
        }
      }
      if (line.starts_with("close(" + temporary + ")")) temporary.clear();
      if (line.starts_with("close(" + directory + ")")) directory.clear();
    }
  }
  const std::vector<std::string> expected = {"open temporary", "write temporary", "fsync temporary",
                                             "close temporary", "rename",         "open folder",
                                             "fsync folder",    "close folder"};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(ReadWholeFile(folder / "run" / "Vantor.ini"), DefaultFileText());
  RemoveScratchFolder(folder);
}
#endif

}  // namespace
}  // namespace vantor_test
