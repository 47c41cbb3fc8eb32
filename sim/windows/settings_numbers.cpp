// The settings file's number reader on its own, built for Linux and for Windows from this one
// source, so that the two builds can be shown to read every number to the same bits:
//   settings-numbers generate <count> <seed> <output>  deterministic strings to read, one a line
//   settings-numbers read <input> <output>   per line: the float's bits and the bytes the number
//                                            took as "FOV=<line>", the index of "Height_<line>=1"
//   settings-numbers strtof <input> <output> per line: the bits and bytes of the C library's strtof
// Files are opened in binary, so that no C runtime translates line ends.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "settings/settings_file.h"

namespace {

constexpr std::string_view Decimal = "0123456789";
constexpr std::string_view Hex = "0123456789abcdefABCDEF";
constexpr std::string_view Prefixes[] = {"", "", "", "", " ", "\t\v\f\r ", "+", "-", " -", "+-", "--", "- "};
constexpr std::string_view Suffixes[] = {"", "", "", "", " deg", "x", "e", "e+", "p3", ".", ",5", "(", "="};
constexpr std::string_view Words[] = {"inf",   "INFINITY", "iNfInItY", "infinit", "in",        "nan", "NaN",
                                      "nan()", "nan(123)", "nan(a_B9)", "nan(a b)", "nan(0x1f", "na"};
constexpr std::string_view HugeExponents[] = {"39", "46", "400", "1100", "99999999999999999999"};
constexpr uint32_t FloatMaxBits = 0x7f7fffff;
constexpr uint32_t SubnormalBits = 0x00800000;
constexpr int ExactDigits = 200;  // more than the exact decimal form of any float midpoint needs
constexpr std::size_t LongRun = 1500;

using Random = std::mt19937_64;

std::string Pick(Random& random, std::string_view set, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += set[random() % set.size()];
  return text;
}

template <std::size_t N> std::string_view Pick(Random& random, const std::string_view (&set)[N]) {
  return set[random() % N];
}

// Digits with a point somewhere and an exponent that is mostly in range, sometimes far out.
std::string Number(Random& random, std::string_view digits, std::size_t count, char mark, int span, int shift) {
  std::string text = Pick(random, digits, 1 + random() % count);
  if (random() % 2) text.insert(random() % (text.size() + 1), 1, '.');
  if (random() % 4 == 0) return text;
  text += mark;
  if (random() % 8) return text + std::to_string(static_cast<int>(random() % span) + shift);
  return text + (random() % 2 ? "-" : "") + std::string(Pick(random, HugeExponents));
}

// Half-way between two adjacent floats (normal or subnormal), which a double holds exactly,
// written out in full or in hex, or a hair above or below it.
std::string Midpoint(Random& random) {
  const float low = std::bit_cast<float>(static_cast<uint32_t>(random() % (random() % 2 ? SubnormalBits : FloatMaxBits)));
  const double middle = (static_cast<double>(low) + std::nextafter(low, std::numeric_limits<float>::max())) / 2;
  char written[ExactDigits * 2];
  if (random() % 4 == 0) {
    std::snprintf(written, sizeof written, "%a", middle);
    return written;
  }
  std::snprintf(written, sizeof written, "%.*e", ExactDigits, middle);
  std::string text = written;
  const std::size_t mark = text.find('e');
  if (const uint64_t way = random() % 3; way == 1) {
    text.insert(mark, std::string(random() % LongRun, '0') + "1");
  } else if (way == 2) {  // one less in the last place: the last non-zero digit down, nines after it
    const std::size_t last = text.find_last_not_of("0.", mark - 1);
    --text[last];
    for (std::size_t i = last + 1; i < mark; ++i) text[i] = text[i] == '.' ? '.' : '9';
  }
  return text;
}

std::string Generate(Random& random) {
  std::string body;
  switch (random() % 6) {
    case 0: body = Number(random, Decimal, 40, 'e', 110, -75); break;  // up to 40 digits, e-75 to e34
    case 1: body = "0x" + Number(random, Hex, 20, 'p', 400, -250); break;  // up to 20 digits, p-250 to p149
    case 2: body = Midpoint(random); break;
    case 3: {  // a long run of digits after many zeros, brought back into range by the exponent
      const std::size_t zeros = random() % LongRun;
      body = "0." + std::string(zeros, '0') + Pick(random, Decimal, 1 + random() % LongRun) + 'e' +
             std::to_string(static_cast<int>(zeros + random() % 90) - 45);
      break;
    }
    case 4: body = Pick(random, Words); break;
    case 5: body = std::string(random() % 3 * 20, '0') + Pick(random, Decimal, random() % 12); break;  // an index
  }
  return std::string(Pick(random, Prefixes)) + body + std::string(Pick(random, Suffixes));
}

uint32_t Bits(float value) { return std::bit_cast<uint32_t>(value); }

}  // namespace

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "";
  if (mode == "generate" && argc == 5) {
    Random random(std::strtoull(argv[3], nullptr, 10));
    std::ofstream out(argv[4], std::ios::binary);
    for (unsigned long i = std::strtoul(argv[2], nullptr, 10); i > 0; --i) out << Generate(random) << '\n';
    return out ? EXIT_SUCCESS : EXIT_FAILURE;
  }
  if ((mode != "read" && mode != "strtof") || argc != 4) {
    std::fprintf(stderr, "usage: settings-numbers generate <count> <seed> <output> | read|strtof <input> <output>\n");
    return EXIT_FAILURE;
  }
  std::ifstream in(argv[2], std::ios::binary);
  std::ofstream out(argv[3], std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (mode == "strtof") {
      char* end = nullptr;
      const float value = std::strtof(line.c_str(), &end);
      // The reader keeps a NaN's sign, not its payload.
      const float kept = std::isnan(value) ? std::copysign(std::numeric_limits<float>::quiet_NaN(), value) : value;
      out << Bits(kept) << ' ' << end - line.c_str() << '\n';
      continue;
    }
    vantor::Settings settings;
    const std::string numberLine = "FOV=" + line;
    const std::string indexLine = "Height_" + line + "=1";
    const vantor::SettingsLine number = vantor::ReadSettingsLine(settings, numberLine);
    const vantor::SettingsLine index = vantor::ReadSettingsLine(settings, indexLine);
    out << Bits(number.number) << ' ' << number.numberLength << ' ' << index.heightIndex << '\n';
  }
  return in.eof() && out ? EXIT_SUCCESS : EXIT_FAILURE;
}
