// What many suites need and none owns: a scratch folder, a file's bytes, floats compared to the
// bit, bytes made readable for a failure message, and whether a program is installed.
#pragma once

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "sim/core/float_bits.h"
#include "sim/core/text_file.h"

namespace vantor_test {

// --- Files ------------------------------------------------------------------------------------

// A new empty folder "/tmp/<prefix>-XXXXXX" of the caller's own. Throws when none can be made,
// which fails the test it was called from.
inline std::filesystem::path MakeScratchFolder(const std::string& prefix) {
  std::string pattern = "/tmp/" + prefix + "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot make a scratch folder " + pattern + ": " + std::strerror(errno));
  return pattern;
}

// Removes a scratch folder whole, also when a test left it without write permission.
inline void RemoveScratchFolder(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ignored);
  std::filesystem::remove_all(folder, ignored);
}

// Every byte of a file; empty when it cannot be read.
using sim::ReadWholeFile;

// --- Floats -----------------------------------------------------------------------------------

using sim::FloatBits;
using sim::FloatOfBits;

// Equal to the bit, so that -0 differs from 0; any NaN equals any NaN.
inline bool SameFloat(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return FloatBits(a) == FloatBits(b);
}

// --- Text -------------------------------------------------------------------------------------

// Bytes as a failure message can show them: CR, LF, tab and backslash as in C ("\r"), other
// control bytes and every byte from 0x7F as "\xNN".
inline std::string EscapeBytes(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (byte < 0x20 || byte >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

// --- Programs ---------------------------------------------------------------------------------

// True when the shell finds the program, for suites that skip without it.
inline bool OnPath(const std::string& program) {
  return std::system(("command -v '" + program + "' >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace vantor_test
