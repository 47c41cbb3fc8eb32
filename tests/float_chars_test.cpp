// The web build's float conversions against libstdc++'s std::to_chars and std::from_chars, on
// the same machine: the same text, the same end and the same error for every input tried.
// VANTOR_FLOAT_CHARS_SAMPLES sets how many random inputs each case draws (a test run samples;
// a longer run is one variable away).
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "sim/web/float_chars.h"
#include "support.h"

namespace vantor_test {
namespace {

constexpr uint64_t DefaultSamples = 100000;
constexpr uint32_t Seed = 19;
constexpr size_t BufferSize = 400;  // more than the widest fixed text of a float with two decimals
constexpr uint32_t Sentinel = 0x12345678u;  // the value from_chars must leave alone on failure

uint64_t Samples() {
  const char* text = std::getenv("VANTOR_FLOAT_CHARS_SAMPLES");
  return text == nullptr ? DefaultSamples : std::strtoull(text, nullptr, 10);
}

std::string Hex(float value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", FloatBits(value));
  return text;
}

struct Written {
  std::string text;
  std::errc error;
  bool operator==(const Written&) const = default;
};

template <typename Convert>
Written Write(size_t room, Convert convert) {
  char buffer[BufferSize];
  const std::to_chars_result result = convert(buffer, buffer + room);
  if (result.ec != std::errc{}) return {"(end " + std::to_string(result.ptr - buffer) + ")", result.ec};
  return {std::string(buffer, result.ptr), result.ec};
}

std::string Describe(const Written& written) {
  return written.text + " / " + std::make_error_code(written.error).message();
}

// Both writers on one float, with room for any text and with one byte too few.
::testing::AssertionResult SameShortest(float value) {
  const auto ours = [value](size_t room) { return Write(room, [value](char* f, char* l) { return sim::FloatToChars(f, l, value); }); };
  const auto theirs = [value](size_t room) { return Write(room, [value](char* f, char* l) { return std::to_chars(f, l, value); }); };
  const Written expected = theirs(BufferSize);
  for (const size_t room : {BufferSize, expected.text.size(), expected.text.size() - 1}) {
    const Written got = ours(room);
    if (!(got == theirs(room)))
      return ::testing::AssertionFailure() << "float " << Hex(value) << " in " << room
                                           << " bytes: " << Describe(got) << " where libstdc++ gives "
                                           << Describe(theirs(room));
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SamePrecise(double value, std::chars_format format, int precision) {
  const Written expected = Write(BufferSize, [&](char* f, char* l) { return std::to_chars(f, l, value, format, precision); });
  for (const size_t room : {BufferSize, expected.text.size(), expected.text.size() - 1}) {
    const Written theirs = Write(room, [&](char* f, char* l) { return std::to_chars(f, l, value, format, precision); });
    const Written ours = Write(room, [&](char* f, char* l) { return sim::FloatToChars(f, l, value, format, precision); });
    if (!(ours == theirs))
      return ::testing::AssertionFailure() << value << " (" << (format == std::chars_format::fixed ? "fixed" : "general")
                                           << ", " << precision << ") in " << room << " bytes: " << Describe(ours)
                                           << " where libstdc++ gives " << Describe(theirs);
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameRead(std::string_view text, std::chars_format format) {
  float ours = FloatOfBits(Sentinel), theirs = FloatOfBits(Sentinel);
  const char* const first = text.data();
  const char* const last = first + text.size();
  const std::from_chars_result a = sim::FloatFromChars(first, last, ours, format);
  const std::from_chars_result b = std::from_chars(first, last, theirs, format);
  if (a.ec == b.ec && a.ptr == b.ptr && FloatBits(ours) == FloatBits(theirs)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << '"' << text << "\" (" << (format == std::chars_format::hex ? "hex" : "general")
                                       << "): read " << (a.ptr - first) << " bytes as " << Hex(ours)
                                       << " (" << std::make_error_code(a.ec).message() << ") where libstdc++ reads "
                                       << (b.ptr - first) << " as " << Hex(theirs) << " ("
                                       << std::make_error_code(b.ec).message() << ")";
}

// Every power of two, its neighbours and the subnormal range's ends: where the rounding
// interval is lopsided and where the shortest text changes form.
std::vector<float> EdgeFloats() {
  std::vector<float> values{0.0f, -0.0f, std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN()};
  for (uint32_t exponent = 0; exponent < 255; ++exponent)
    for (const uint32_t mantissa : {0u, 1u, 2u, 0x7FFFFEu, 0x7FFFFFu})
      for (const uint32_t sign : {0u, 0x80000000u}) values.push_back(FloatOfBits(sign | exponent << 23 | mantissa));
  for (float power = 1.0f; power < 1e38f; power *= 10.0f)
    for (const float value : {power, std::nextafter(power, 0.0f), std::nextafter(power, 2 * power)}) values.push_back(value);
  return values;
}

TEST(WebFloatConversions, ShortestFormMatchesLibstdcxx) {
  for (const float value : EdgeFloats()) ASSERT_TRUE(SameShortest(value));
  const uint64_t samples = Samples();
  std::mt19937 random(Seed);
  for (uint64_t i = 0; i < samples; ++i) ASSERT_TRUE(SameShortest(FloatOfBits(random())));
  // Values near the ones a run meets: lengths, angles and settings of a few digits.
  std::uniform_real_distribution<float> ordinary(-1000.0f, 1000.0f);
  for (uint64_t i = 0; i < samples; ++i) ASSERT_TRUE(SameShortest(ordinary(random)));
}

TEST(WebFloatConversions, GeneralAndFixedWithPrecisionMatchLibstdcxx) {
  std::mt19937 random(Seed);
  const uint64_t samples = Samples();
  for (const float value : EdgeFloats())
    for (const int precision : {0, 1, 2, 6, 9})
      for (const std::chars_format format : {std::chars_format::general, std::chars_format::fixed})
        ASSERT_TRUE(SamePrecise(value, format, precision));
  std::uniform_real_distribution<float> ordinary(-1000.0f, 1000.0f);
  for (uint64_t i = 0; i < samples; ++i) {
    const float value = i % 2 == 0 ? FloatOfBits(random()) : ordinary(random);
    ASSERT_TRUE(SamePrecise(value, std::chars_format::general, 6));
    ASSERT_TRUE(SamePrecise(value, std::chars_format::fixed, static_cast<int>(i % 3)));
  }
}

// Texts from a small grammar of numbers, with the pieces that end or spoil one dropped in.
std::string NumberText(std::mt19937& random, bool hex) {
  static constexpr std::string_view Decimal = "0123456789";
  static constexpr std::string_view Hex = "0123456789abcdefABCDEF";
  static constexpr std::string_view Stray[] = {"-", "+", ".", "e", "E", "p", "P", "x", " ", "inf", "INFINITY",
                                               "nan", "NaN(abc_1)", "nan(", "()", "i", "n", "0", "9", "f"};
  const std::string_view digits = hex ? Hex : Decimal;
  const auto pick = [&random](size_t count) { return static_cast<size_t>(random() % count); };
  std::string text;
  const size_t pieces = 1 + pick(6);
  for (size_t piece = 0; piece < pieces; ++piece) {
    switch (pick(6)) {
      case 0: text += Stray[pick(std::size(Stray))]; break;
      case 1: text.append(pick(60), '0'); break;  // long runs of zeros, before and after the point
      case 2: text += std::to_string(static_cast<int64_t>(random()) - (int64_t{1} << 31)); break;
      default:
        for (size_t count = 1 + pick(piece == 0 ? 12 : 50); count > 0; --count) text += digits[pick(digits.size())];
    }
  }
  return text;
}

TEST(WebFloatConversions, ReadingMatchesLibstdcxx) {
  for (const std::string_view text :
       {"", "-", ".", "-.", "1", "-0", "0.5", ".5", "5.", "1e", "1e+", "1e-5", "1E5", "1e+-5", "inf", "-Infinity",
        "infinit", "nan", "-nan", "nan(1_a)", "nan(", "nan(x y)", "1e39", "1e-46", "-1e-46", "1e-45", "3.4028235e38",
        "3.4028236e38", "0e999999999999", "1e999999999999", "0x1", "1p", "1p+", "1p-", "1p+-3", "1p-+3", "1P3",
        "1.8p1", "ffffff.8p0", "1p128", "1p-150", "1p-149", "1.000001p-149", "0p99999999999", "1p99999999999"}) {
    for (const std::chars_format format : {std::chars_format::general, std::chars_format::hex})
      ASSERT_TRUE(SameRead(text, format));
  }
  std::mt19937 random(Seed);
  const uint64_t samples = Samples();
  for (uint64_t i = 0; i < samples; ++i) {
    const bool hex = i % 2 == 1;
    ASSERT_TRUE(SameRead(NumberText(random, hex), hex ? std::chars_format::hex : std::chars_format::general));
  }
  // Exact halfway texts between neighbouring floats, where a wrong rounding shows.
  for (uint64_t i = 0; i < samples; ++i) {
    const float low = std::fabs(FloatOfBits(random()));
    if (!std::isfinite(low)) continue;
    const double middle = (static_cast<double>(low) + static_cast<double>(std::nextafter(low, std::numeric_limits<float>::infinity()))) / 2;
    char text[BufferSize];
    const int length = std::snprintf(text, sizeof text, "%.60e", middle);
    ASSERT_TRUE(SameRead(std::string_view(text, static_cast<size_t>(length)), std::chars_format::general));
    const int hexLength = std::snprintf(text, sizeof text, "%a", middle);
    ASSERT_TRUE(SameRead(std::string_view(text + 2, static_cast<size_t>(hexLength - 2)), std::chars_format::hex));
  }
}

}  // namespace
}  // namespace vantor_test
