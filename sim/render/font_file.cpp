#include "sim/render/font_file.h"

#include <cmath>
#include <cstdint>

namespace sim {

namespace {

// Big-endian reads that fail past the end instead of reading beyond it.
struct Reader {
  std::string_view bytes;
  bool ok = true;

  uint32_t Unsigned(size_t offset, size_t width) {
    if (offset > bytes.size() || bytes.size() - offset < width) {
      ok = false;
      return 0;
    }
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return value;
  }
  uint16_t U16(size_t offset) { return static_cast<uint16_t>(Unsigned(offset, 2)); }
  int16_t S16(size_t offset) { return static_cast<int16_t>(U16(offset)); }
  uint32_t U32(size_t offset) { return Unsigned(offset, 4); }
};

constexpr uint32_t Tag(const char (&name)[5]) {
  return static_cast<uint32_t>(name[0]) << 24 | static_cast<uint32_t>(name[1]) << 16 |
         static_cast<uint32_t>(name[2]) << 8 | static_cast<uint32_t>(name[3]);
}

// The table's offset, or 0 when the file has none.
size_t FindTable(Reader& font, uint32_t tag) {
  const uint16_t count = font.U16(4);
  for (size_t i = 0; i < count && font.ok; ++i) {
    const size_t record = 12 + 16 * i;
    if (font.U32(record) == tag) return font.U32(record + 8);
  }
  return 0;
}

// The format 4 subtable of a Unicode cmap, or 0.
size_t FindUnicodeMap(Reader& font, size_t cmap) {
  const uint16_t count = font.U16(cmap + 2);
  for (size_t i = 0; i < count && font.ok; ++i) {
    const size_t record = cmap + 4 + 8 * i;
    const uint16_t platform = font.U16(record), encoding = font.U16(record + 2);
    const size_t subtable = cmap + font.U32(record + 4);
    if ((platform == 0 || (platform == 3 && encoding == 1)) && font.U16(subtable) == 4) return subtable;
  }
  return 0;
}

uint16_t GlyphOf(Reader& font, size_t map, uint16_t character) {
  const size_t segments = font.U16(map + 6) / 2;
  const size_t ends = map + 14, starts = ends + 2 * segments + 2, deltas = starts + 2 * segments,
               rangeOffsets = deltas + 2 * segments;
  for (size_t i = 0; i < segments && font.ok; ++i) {
    if (font.U16(ends + 2 * i) < character) continue;
    const uint16_t start = font.U16(starts + 2 * i);
    if (start > character) return 0;
    const uint16_t delta = font.U16(deltas + 2 * i), rangeOffset = font.U16(rangeOffsets + 2 * i);
    if (rangeOffset == 0) return static_cast<uint16_t>(character + delta);
    const uint16_t glyph = font.U16(rangeOffsets + 2 * i + rangeOffset + 2 * (character - start));
    return glyph == 0 ? 0 : static_cast<uint16_t>(glyph + delta);
  }
  return 0;
}

double AdvanceOf(Reader& font, size_t hmtx, uint16_t longMetrics, uint16_t glyph) {
  if (longMetrics == 0) return 0.0;
  return font.U16(hmtx + 4 * (glyph < longMetrics ? glyph : longMetrics - 1));
}

}  // namespace

bool ReadFontFile(std::string_view bytes, FontFileMetrics& metrics) {
  Reader font{bytes};
  const size_t head = FindTable(font, Tag("head")), hhea = FindTable(font, Tag("hhea")),
               hmtx = FindTable(font, Tag("hmtx")), cmap = FindTable(font, Tag("cmap"));
  if (!font.ok || head == 0 || hhea == 0 || hmtx == 0 || cmap == 0) return false;
  metrics.unitsPerEm = font.U16(head + 18);
  metrics.ascender = font.S16(hhea + 4);
  metrics.descender = -font.S16(hhea + 6);
  const uint16_t longMetrics = font.U16(hhea + 34);
  const size_t map = FindUnicodeMap(font, cmap);
  if (!font.ok || map == 0 || metrics.unitsPerEm <= 0.0) return false;
  metrics.missingAdvance = AdvanceOf(font, hmtx, longMetrics, 0);
  for (uint16_t character = 0; character < metrics.advance.size(); ++character)
    metrics.advance[character] = AdvanceOf(font, hmtx, longMetrics, GlyphOf(font, map, character));
  return font.ok;
}

FontMetrics ScaledFontMetrics(const FontFileMetrics& metrics, double size) {
  const double scale = size / metrics.unitsPerEm;
  return {std::ceil(metrics.ascender * scale), std::ceil(metrics.descender * scale)};
}

double ScaledAdvance(const FontFileMetrics& metrics, double size, std::string_view utf8) {
  const double scale = size / metrics.unitsPerEm;
  double advance = 0.0;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation: its character is already counted
    advance += std::round((byte < 0x80 ? metrics.advance[byte] : metrics.missingAdvance) * scale);
  }
  return advance;
}

}  // namespace sim
