// The settings record: defaults, bounds, ClampSettings and ResetSettings; the
// locale-free number reading and writing of the settings file against the C library's strtof
// and printf in the C locale; and, through the plugin, that start-up reads the settings file.
#include <gtest/gtest.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

#include "harness.h"
#include "world_builders.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "support.h"

namespace vantor_test {
namespace {

using vantor::ClampSettings;
using vantor::ResetSettings;
using vantor::Settings;
using vantor::VehicleClassCount;

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// A value as the settings file's reader reads it, and the bytes of it that the number took.
vantor::SettingsLine ReadValue(const std::string& text) {
  Settings settings;
  return vantor::ReadSettingsLine(settings, "FOV=" + text);
}

// A value as a save writes it.
std::string WrittenValue(float value) {
  Settings settings;
  settings.FOV = value;
  char text[vantor::SettingsTextCapacity];
  const std::string file(text, vantor::WriteSettingsText(settings, text));
  const std::size_t start = file.find("\nFOV=") + 5;
  return file.substr(start, file.find('\r', start) - start);
}

// Every field at its default, to the bit.
void ExpectDefaults(const Settings& settings) {
  EXPECT_TRUE(settings.ModEnabled);
  EXPECT_EQ(FloatBits(settings.FOV), FloatBits(80.0f));
  for (int i = 0; i < VehicleClassCount; ++i) EXPECT_EQ(FloatBits(settings.Height[i]), FloatBits(0.7f)) << i;
  EXPECT_EQ(FloatBits(settings.LookSensitivity), FloatBits(35.0f));
  EXPECT_TRUE(settings.AutoRecenter);
  EXPECT_FALSE(settings.DynamicFOV);
  EXPECT_FALSE(settings.CornerLean);
  EXPECT_FALSE(settings.BetterHookerView);
}

// ---------------------------------------------------------------------------------------------
// Defaults and bounds

TEST(SettingsRecord, ANewRecordHoldsTheDefaults) {
  const Settings settings;
  ExpectDefaults(settings);
  EXPECT_EQ(VehicleClassCount, 22);
  EXPECT_EQ(sizeof settings.Height / sizeof settings.Height[0], 22u);
}

TEST(SettingsRecord, DefaultsAndBoundsAreSinglePrecisionConstants) {
  static_assert(std::is_same_v<decltype(vantor::FovMin), const float>);
  static_assert(std::is_same_v<decltype(vantor::HeightMin), const float>);
  static_assert(std::is_same_v<decltype(vantor::LookSensitivityMax), const float>);
  EXPECT_EQ(FloatBits(vantor::FovMin), FloatBits(55.0f));
  EXPECT_EQ(FloatBits(vantor::FovMax), FloatBits(110.0f));
  EXPECT_EQ(FloatBits(vantor::HeightMin), FloatBits(0.3f));  // the float nearest 0.3
  EXPECT_EQ(FloatBits(vantor::HeightMax), FloatBits(1.0f));
  EXPECT_EQ(FloatBits(vantor::HeightDefault), FloatBits(0.7f));  // the float nearest 0.7
  EXPECT_EQ(FloatBits(vantor::LookSensitivityMin), FloatBits(10.0f));
  EXPECT_EQ(FloatBits(vantor::LookSensitivityMax), FloatBits(80.0f));
  EXPECT_EQ(FloatBits(vantor::FovDefault), FloatBits(80.0f));
  EXPECT_EQ(FloatBits(vantor::LookSensitivityDefault), FloatBits(35.0f));
  // A height read from text as 0.3 equals the bound.
  EXPECT_EQ(FloatBits(ReadValue("0.3").number), FloatBits(vantor::HeightMin));
}

// ---------------------------------------------------------------------------------------------
// ClampSettings

struct ClampCase {
  float read;
  float clamped;
};

// Each case's value, read into one field and clamped, ends as the case's result, to the bit.
void ExpectClamped(float Settings::*field, const char* name, const std::vector<ClampCase>& cases) {
  for (const ClampCase& c : cases) {
    Settings settings;
    settings.*field = c.read;
    ClampSettings(settings);
    EXPECT_EQ(FloatBits(settings.*field), FloatBits(c.clamped)) << name << " read as " << c.read;
  }
}

TEST(ClampSettings, FovIsBroughtWithin55And110AndLookSensitivityWithin10And80) {
  ExpectClamped(&Settings::FOV, "FOV",
                {
                    {150.0f, 110.0f}, {110.0f, 110.0f}, {110.00001f, 110.0f}, {Inf, 110.0f}, {96.0f, 96.0f},
                    {55.0f, 55.0f}, {54.99999f, 55.0f}, {20.0f, 55.0f}, {0.0f, 55.0f}, {-0.0f, 55.0f},
                    {-Inf, 55.0f}, {NaN, 55.0f}, {-NaN, 55.0f}, {std::numeric_limits<float>::max(), 110.0f},
                });
  ExpectClamped(&Settings::LookSensitivity, "LookSensitivity",
                {
                    {100.0f, 80.0f}, {80.0f, 80.0f}, {Inf, 80.0f}, {35.0f, 35.0f}, {10.0f, 10.0f},
                    {5.0f, 10.0f},   {-Inf, 10.0f},  {NaN, 10.0f},
                });
}

TEST(ClampSettings, EachHeightEntryIsBroughtWithin03And1Alone) {
  const std::vector<ClampCase> cases = {
      {1.5f, 1.0f}, {1.0f, 1.0f}, {Inf, 1.0f},  {0.5f, 0.5f},  {0.3f, 0.3f},   {0.29999998f, 0.3f},
      {0.1f, 0.3f}, {0.0f, 0.3f}, {-2.0f, 0.3f}, {-Inf, 0.3f}, {NaN, 0.3f},
  };
  for (int entry = 0; entry < VehicleClassCount; ++entry) {
    for (const ClampCase& c : cases) {
      Settings settings;
      settings.Height[entry] = c.read;
      ClampSettings(settings);
      for (int i = 0; i < VehicleClassCount; ++i)
        EXPECT_EQ(FloatBits(settings.Height[i]), FloatBits(i == entry ? c.clamped : 0.7f))
            << "entry " << entry << " read as " << c.read << ", entry " << i;
    }
  }
}

TEST(ClampSettings, FlagsAreNeverTouched) {
  for (int pattern = 0; pattern < 32; ++pattern) {
    Settings settings;
    settings.ModEnabled = (pattern & 1) != 0;
    settings.AutoRecenter = (pattern & 2) != 0;
    settings.DynamicFOV = (pattern & 4) != 0;
    settings.CornerLean = (pattern & 8) != 0;
    settings.BetterHookerView = (pattern & 16) != 0;
    settings.FOV = NaN;
    ClampSettings(settings);
    EXPECT_EQ(settings.ModEnabled, (pattern & 1) != 0);
    EXPECT_EQ(settings.AutoRecenter, (pattern & 2) != 0);
    EXPECT_EQ(settings.DynamicFOV, (pattern & 4) != 0);
    EXPECT_EQ(settings.CornerLean, (pattern & 8) != 0);
    EXPECT_EQ(settings.BetterHookerView, (pattern & 16) != 0);
  }
}

TEST(ClampSettings, ValuesWithinTheBoundsStayExactly) {
  Settings settings;
  settings.FOV = 82.5f;
  for (int i = 0; i < VehicleClassCount; ++i) settings.Height[i] = 0.3f + 0.03f * static_cast<float>(i);
  settings.LookSensitivity = 79.99999f;
  Settings copy = settings;
  ClampSettings(settings);
  EXPECT_EQ(FloatBits(settings.FOV), FloatBits(copy.FOV));
  for (int i = 0; i < VehicleClassCount; ++i) EXPECT_EQ(FloatBits(settings.Height[i]), FloatBits(copy.Height[i])) << i;
  EXPECT_EQ(FloatBits(settings.LookSensitivity), FloatBits(copy.LookSensitivity));
}

// ---------------------------------------------------------------------------------------------
// ResetSettings

TEST(ResetSettings, EveryFieldReturnsToItsDefaultAllHeightsIncluded) {
  Settings settings;
  settings.ModEnabled = false;
  settings.FOV = 101.0f;
  for (int i = 0; i < VehicleClassCount; ++i) settings.Height[i] = 0.31f + 0.01f * static_cast<float>(i);
  settings.LookSensitivity = 12.0f;
  settings.AutoRecenter = false;
  settings.DynamicFOV = true;
  settings.CornerLean = true;
  settings.BetterHookerView = true;
  ResetSettings(settings);
  ExpectDefaults(settings);
}

// ---------------------------------------------------------------------------------------------
// The number reader against glibc's strtof in the C locale (the reference the reader follows).

class CLocale {
 public:
  CLocale() : locale_(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {}
  ~CLocale() { freelocale(locale_); }
  float Strtof(const std::string& text, std::size_t* length) const {
    char* end = nullptr;
    const float value = strtof_l(text.c_str(), &end, locale_);
    *length = static_cast<std::size_t>(end - text.c_str());
    return value;
  }
  std::string Printf(float value) const {
    const locale_t previous = uselocale(locale_);
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
    uselocale(previous);
    return text;
  }

 private:
  locale_t locale_;
};

void ExpectReadsLikeStrtof(const CLocale& c, const std::string& text) {
  std::size_t expectedLength = 0;
  const float expected = c.Strtof(text, &expectedLength);
  const vantor::SettingsLine read = ReadValue(text);
  const float actual = read.number;
  EXPECT_TRUE(SameFloat(actual, expected))
      << "\"" << text << "\": read " << std::hexfloat << actual << ", strtof gives " << expected;
  EXPECT_EQ(read.numberLength, expectedLength) << "\"" << text << "\": bytes taken";
  // Only the sign of a NaN is kept; its payload may differ.
  if (std::isnan(expected) && std::isnan(actual)) {
    EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << text;
  }
}

TEST(NumberText, ReadsChosenFormsExactlyAsStrtof) {
  const CLocale c;
  const char* texts[] = {
      "", " ", "90", "  90", "\t\n\v\f\r90", "90deg", "+90", "-90", "--90", "+-90", "- 90", ".5", "5.", ".",
      "-.", "+.e5", "e5", "1e", "1e+", "1e-", "1e+x", "1e5", "1E-5", "1.5e+2", "0090", "00.0", "-0", "-0.0",
      "0x", "-0x", "0x.", "0x.p1", "0xg", "0x5A", "0X5a", "0x1.68p6", "0x1p", "0x1p+", "0x1p-2", "0x.8",
      "0x1e", "0x1E+2", "0xffffff.8p0", "0x1.000001p0", "0x1.000003p0", "0x1p-149", "0x1p-150", "0x1.8p-150",
      "0x1p-151", "0x1p127", "0x1p128", "0x1.fffffe8p127", "0x1.ffffffp127", "nan", "NaN", "-nan", "+nan",
      "nan(", "nan()", "nan(123)", "nan(0x1f)", "nan(a_b)", "nan(a b)", "nanx", "na", "n", "inf", "-inf",
      "INF", "iNfInItY", "infinit", "infinityy", "in", "i", "1e39", "-1e39", "3.4028235e38", "3.40282356e38",
      "3.40282357e38", "3.4028236e38", "1e-38", "1.17549435e-38", "1e-40", "1e-45", "1.4e-45", "7e-46",
      "7.1e-46", "1e-46", "-1e-50", "1e-99999999999999999999", "1e99999999999999999999", "0e9999999999",
      "0.0000000000000000000000000000000000000000000000000000000000000001e64", "16777217", "16777217.0000001",
      "16777219", "0.3", "0.7", "0.72", "1.0", "110", "55", "35", "0.1", "33554431", "3.14159265358979323846",
      "9999999999999999999999999999999999999999", "123456789012345678901234567890e-20", "1,5", "1.5.5",
      "\xEF\xBB\xBF" "1", "0.5\r", "5\0" "1",
  };
  for (const char* text : texts) ExpectReadsLikeStrtof(c, text);
  // Long digit strings: the digits past the ones kept only break ties.
  ExpectReadsLikeStrtof(c, "16777217." + std::string(500, '0') + "1");
  ExpectReadsLikeStrtof(c, "16777217" + std::string(500, '0') + "e-500");
  ExpectReadsLikeStrtof(c, "1" + std::string(500, '0'));
  ExpectReadsLikeStrtof(c, "0." + std::string(500, '0') + "1e500");
  ExpectReadsLikeStrtof(c, "0x1000001" + std::string(300, '0') + "1p-1200");
  ExpectReadsLikeStrtof(c, "0x1000001" + std::string(300, '0') + "p-1200");
  // Exactly half-way between the two smallest subnormals, written out in full, and a hair above.
  const std::string halfDenormMin =
      "7.00649232162408535461864791644958065640130970938257885878534141944895541342930300743319094181060791015625e-46";
  ExpectReadsLikeStrtof(c, halfDenormMin);
  ExpectReadsLikeStrtof(c, "2.1019476964872256063855943749348741969203929128147736576356024258346866240287909022299"
                           "5728254318237304687e-45");
  ExpectReadsLikeStrtof(c, halfDenormMin.substr(0, halfDenormMin.size() - 4) + "251e-46");
}

TEST(NumberText, ReadsRandomTextExactlyAsStrtof) {
  const CLocale c;
  const char alphabet[] = "0123456789012345678901234567890123456789..eE+-+-xXpPaAfFiInNtTyY() _\t";
  uint64_t state = 0x9E3779B97F4A7C15ull;
  const auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (int i = 0; i < 200000; ++i) {
    const std::size_t length = next() % 14;
    std::string text;
    for (std::size_t j = 0; j < length; ++j) text += alphabet[next() % (sizeof alphabet - 1)];
    ExpectReadsLikeStrtof(c, text);
    if (HasFailure()) return;
  }
  // Random decimal numbers with many digits and exponents across the whole float range.
  for (int i = 0; i < 100000; ++i) {
    std::string text = (next() % 2) ? "-" : "";
    const std::size_t digits = 1 + next() % 40;
    for (std::size_t j = 0; j < digits; ++j) text += static_cast<char>('0' + next() % 10);
    if (next() % 2) {
      // Built by appending: an insert here draws GCC 12's false -Wrestrict in optimised builds.
      const std::size_t point = text.size() - next() % digits;
      std::string pointed = text.substr(0, point);
      pointed += '.';
      text = pointed.append(text, point);
    }
    text += 'e';
    text += std::to_string(static_cast<int>(next() % 110) - 75);
    ExpectReadsLikeStrtof(c, text);
    if (HasFailure()) return;
  }
  // Every written form reads back as strtof reads it.
  for (int i = 0; i < 100000; ++i) {
    ExpectReadsLikeStrtof(c, WrittenValue(FloatOfBits(static_cast<uint32_t>(next()))));
    if (HasFailure()) return;
  }
}

TEST(NumberText, WritesExactlyAsPrintfPercentPoint6G) {
  const CLocale c;
  const auto expectWrites = [&c](float value) {
    const std::string text = WrittenValue(value);
    ASSERT_LE(text.size(), vantor::NumberTextCapacity);
    EXPECT_EQ(text, c.Printf(value)) << "bits " << std::hex << FloatBits(value);
  };
  for (const float value : {80.0f, 82.5f, 0.7f, 0.7f + 0.02f, 35.0f, 1.0f, 0.3f, 110.0f, 55.0f, 10.0f, 0.0f, -0.0f,
                            1e-5f, 1e-4f, 0.0001234565f, 999999.5f, 123456.5f, 1e6f, 1234567.0f, 3e38f, -2.5f, Inf,
                            -Inf, NaN, -NaN, std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::max(), std::numeric_limits<float>::min()})
    expectWrites(value);
  // Every float the menu can reach within the bounds, sampled, and bit patterns across the range.
  for (float value = 0.3f; value <= 110.0f; value = std::nextafter(value, Inf) + value * 1e-5f) expectWrites(value);
  for (uint64_t bits = 0; bits < (1ull << 32); bits += 4099) expectWrites(FloatOfBits(static_cast<uint32_t>(bits)));
}

// ---------------------------------------------------------------------------------------------
// Through the plugin: start-up reads the settings file, once, and writes nothing.

using SettingsStartUpTest = PluginTest;

TEST_F(SettingsStartUpTest, TheCameraStartsFromTheClampedFileAndTheFileIsReadOnce) {
  WriteSettingsFile("FOV=96\r\nLookSensitivity=500\r\n");
  SeatPlayerInCar(world());
  Load();
  RunFrames(1);
  // The smoothed field of view starts at the file's value: no easing in from 80.
  EXPECT_EQ(world().camera.fov, 96.0f);
  WriteSettingsFile("FOV=60\r\n");
  RunFrames(30);
  EXPECT_EQ(world().camera.fov, 96.0f) << "the frame loop does not read the settings file again";
}

TEST_F(SettingsStartUpTest, AnOutOfBoundsFieldOfViewNeverReachesTheCamera) {
  WriteSettingsFile("FOV=200\r\n");
  SeatPlayerInCar(world());
  Load();
  RunFrames(1);
  EXPECT_EQ(world().camera.fov, 110.0f);
}

TEST_F(SettingsStartUpTest, StartUpAndUnloadLeaveASettingsFileAsItWas) {
  const std::string content = "FOV=200\r\nHeight=0.1\r\nunknown line\r\n";
  WriteSettingsFile(content);
  Load();
  RunFrames(3);
  Unload();
  EXPECT_EQ(ReadSettingsFile(), content);
  EXPECT_FALSE(std::filesystem::exists(folder / "Vantor.ini.tmp"));
}

}  // namespace
}  // namespace vantor_test
