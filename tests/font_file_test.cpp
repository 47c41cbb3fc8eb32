// The web module measures text from the font subsets it embeds and the page draws with; the
// pictures measure with cairo. Both must lay text out alike, and a damaged file must be refused,
// never read past its end.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <memory>
#include <string>

#include "sim/render/font_file.h"
#include "sim/render/text_metrics.h"
#include "support.h"

namespace {

using vantor_test::ReadWholeFile;

struct SubsetCase {
  sim::PaintFont font;
  const char* path;
};
const SubsetCase Subsets[] = {{sim::PaintFont::Sans, VANTOR_FONT_SUBSET_Sans},
                              {sim::PaintFont::CondensedBold, VANTOR_FONT_SUBSET_CondensedBold}};

// Sizes the screen output asks for at common picture heights, the metrics size, and texts the
// plugin and the feed draw, every printable character among them.
const double Sizes[] = {7.3, 13.1, 16.0, 21.6, 29.37, 40.5, 64.0, 256.0};
const char* const Texts[] = {"VANTOR", "Height_21", "Reset to Defaults", "Save Settings", "< 0.70 >",
                             "Keep holding V to exit first person...", " !\"#$%&'()*+,-./0123456789:;<=>?@",
                             "ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"};

class FontSubsets : public testing::Test {
 protected:
  void SetUp() override {
    if (std::string(Subsets[0].path).empty()) GTEST_SKIP() << "no font subsets: hb-subset or the DejaVu fonts missing";
  }
};

// cairo's hinted metrics round at the size FreeType is given (in 64ths of a pixel) and each glyph's
// advance as the hinter leaves it, so the figures agree to within a pixel's rounding.
constexpr double EdgeTolerance = 0.05;      // pixels: the ascent and descent
constexpr double GlyphTolerance = 1.0;      // pixels: one character at the metrics size
constexpr double RunTolerance = 0.06;       // pixels a character: a run of them at a small size

TEST_F(FontSubsets, MeasureAsCairoDoesWithTheWholeFont) {
  constexpr double MetricsSize = 256.0;
  for (const SubsetCase& subset : Subsets) {
    sim::FontFileMetrics metrics;
    ASSERT_TRUE(sim::ReadFontFile(ReadWholeFile(subset.path), metrics)) << subset.path;
    for (char c = ' '; c <= '~'; ++c) {
      const std::string text(1, c);
      EXPECT_NEAR(sim::ScaledAdvance(metrics, MetricsSize, text), sim::MeasureAdvance(subset.font, MetricsSize, text),
                  GlyphTolerance)
          << subset.path << ": '" << c << "'";
    }
    for (const double size : Sizes) {
      const sim::FontMetrics cairo = sim::MeasureFont(subset.font, size);
      const sim::FontMetrics file = sim::ScaledFontMetrics(metrics, size);
      EXPECT_NEAR(file.ascent, cairo.ascent, EdgeTolerance) << subset.path << " at " << size;
      EXPECT_NEAR(file.descent, cairo.descent, EdgeTolerance) << subset.path << " at " << size;
      for (const std::string text : Texts)
        EXPECT_NEAR(sim::ScaledAdvance(metrics, size, text), sim::MeasureAdvance(subset.font, size, text),
                    GlyphTolerance + RunTolerance * static_cast<double>(text.size()))
            << subset.path << " at " << size << ": " << text;
    }
  }
}

TEST_F(FontSubsets, CharactersOutsideTheSubsetTakeTheMissingGlyphsAdvanceOncePerCharacter) {
  sim::FontFileMetrics metrics;
  ASSERT_TRUE(sim::ReadFontFile(ReadWholeFile(Subsets[0].path), metrics));
  EXPECT_GT(metrics.missingAdvance, 0.0);
  const double scale = 100.0 / metrics.unitsPerEm;
  // e acute (two bytes) and an arrow (three): one missing glyph each.
  EXPECT_DOUBLE_EQ(sim::ScaledAdvance(metrics, 100.0, "\xC3\xA9\xE2\x86\x92"), 2 * std::round(metrics.missingAdvance * scale));
  EXPECT_DOUBLE_EQ(sim::ScaledAdvance(metrics, 100.0, ""), 0.0);
}

TEST_F(FontSubsets, DamagedFilesAreRefusedOrReadAlikeNeverPastTheirEnd) {
  const std::string whole = ReadWholeFile(Subsets[0].path);
  sim::FontFileMetrics expected;
  ASSERT_TRUE(sim::ReadFontFile(whole, expected));
  // Cut anywhere: refused while a table the reader needs is cut, read as the whole file once
  // they are all there (each cut is a copy, so the address sanitizer sees a read past it).
  for (size_t length = 0; length < whole.size(); length += 7) {
    const std::unique_ptr<char[]> cut(new char[length]);
    std::copy_n(whole.data(), length, cut.get());
    sim::FontFileMetrics metrics;
    if (!sim::ReadFontFile(std::string_view(cut.get(), length), metrics)) continue;
    EXPECT_EQ(metrics.advance, expected.advance) << length;
    EXPECT_EQ(metrics.ascender, expected.ascender) << length;
  }
  sim::FontFileMetrics metrics;
  EXPECT_FALSE(sim::ReadFontFile(std::string(64, '\xFF'), metrics));
  EXPECT_FALSE(sim::ReadFontFile("not a font", metrics));
}

}  // namespace
