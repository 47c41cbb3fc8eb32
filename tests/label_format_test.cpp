// The row-label formatter against printf in the C locale: every rounding boundary within the
// settings' bounds, a sweep across them, the values outside them, and the 63-character cut.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "ui/label_format.h"

namespace vantor_test {
namespace {

std::string Formatted(float value, int decimals) {
  char buffer[vantor::LabelBufferSize];
  const size_t length = vantor::FormatNumberLabel(buffer, sizeof buffer, "", value, decimals);
  EXPECT_EQ(length, std::string(buffer).size());
  return buffer;
}

std::string Printf(float value, int decimals) {
  char buffer[vantor::LabelBufferSize];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
  return buffer;
}

struct Bounds {
  float lower;
  float upper;
  int decimals;
};

// FOV, Height and LookSensitivity with the decimals their rows show.
constexpr Bounds RowBounds[] = {{55.0f, 110.0f, 1}, {0.3f, 1.0f, 2}, {10.0f, 80.0f, 0}};

TEST(LabelFormat, MatchesPrintfAroundEveryRoundingBoundaryWithinTheBounds) {
  for (const Bounds& bounds : RowBounds) {
    const double unit = std::pow(10.0, -bounds.decimals);
    for (double step = std::floor(bounds.lower / unit); step * unit <= bounds.upper; ++step) {
      // The float nearest each half-way point, and a few neighbours on both sides.
      float value = static_cast<float>((step + 0.5) * unit);
      for (int i = 0; i < 4; ++i) value = std::nextafter(value, 0.0f);
      for (int i = 0; i < 9; ++i, value = std::nextafter(value, 1e9f)) {
        if (value < bounds.lower || value > bounds.upper) continue;
        ASSERT_EQ(Formatted(value, bounds.decimals), Printf(value, bounds.decimals)) << "value " << value;
      }
    }
  }
}

TEST(LabelFormat, MatchesPrintfAcrossTheBoundsAndOnExactHalves) {
  for (const Bounds& bounds : RowBounds) {
    for (float value = bounds.lower; value <= bounds.upper;) {
      ASSERT_EQ(Formatted(value, bounds.decimals), Printf(value, bounds.decimals)) << "value " << value;
      for (int i = 0; i < 397; ++i) value = std::nextafter(value, 1e9f);
    }
  }
  // Exact binary halves round to even, as printf does: 80.25 -> 80.2, 0.375 -> 0.38, 56.5 -> 56.
  for (const auto& [value, decimals] : {std::pair{80.25f, 1}, {80.75f, 1}, {0.375f, 2}, {0.625f, 2}, {0.875f, 2},
                                        {55.5f, 0}, {56.5f, 0}, {79.5f, 0}, {0.5f, 0}}) {
    EXPECT_EQ(Formatted(value, decimals), Printf(value, decimals)) << value;
  }
  EXPECT_EQ(Formatted(80.25f, 1), "80.2");
  EXPECT_EQ(Formatted(0.7f, 2), "0.70");
  EXPECT_EQ(Formatted(0.7f - 0.02f, 2), "0.68");
}

TEST(LabelFormat, ValuesOutsideTheBoundsStillMatchPrintf) {
  const float values[] = {0.0f,     -0.0f,  -0.04f, -1.25f,   1.0e7f,        3.4e38f,       -3.4e38f,
                          INFINITY, -INFINITY, 1.0e-30f, 1048575.9f, 1048576.0f, 12345.675f};
  for (const float value : values) {
    for (int decimals = 0; decimals <= 3; ++decimals) {
      EXPECT_EQ(Formatted(value, decimals), Printf(value, decimals)) << value << " with " << decimals;
    }
  }
  EXPECT_EQ(Formatted(NAN, 1), "nan");
}

TEST(LabelFormat, LongLabelsAreCutAtSixtyThreeCharactersLikeSnprintf) {
  const std::string prefix(60, 'x');
  char buffer[vantor::LabelBufferSize];
  const size_t length = vantor::FormatNumberLabel(buffer, sizeof buffer, prefix.c_str(), 1234.5f, 1);
  char expected[vantor::LabelBufferSize];
  // snprintf answers the length it would have written: the label really is cut.
  EXPECT_EQ(std::snprintf(expected, sizeof expected, "%s%.1f", prefix.c_str(), 1234.5), 66);
  EXPECT_STREQ(buffer, expected);
  EXPECT_EQ(length, 63u);

  const std::string huge(70, 'y');
  vantor::FormatFlagLabel(buffer, sizeof buffer, huge.c_str(), true);
  EXPECT_EQ(std::string(buffer), huge.substr(0, 63));
  vantor::FormatFlagLabel(buffer, sizeof buffer, "Dynamic FOV: ", false);
  EXPECT_STREQ(buffer, "Dynamic FOV: OFF");
}

}  // namespace
}  // namespace vantor_test
