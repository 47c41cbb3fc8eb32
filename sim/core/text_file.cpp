#include "sim/core/text_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace sim {

bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
  std::error_code failure;
  if (!std::filesystem::is_regular_file(path, failure)) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream text;
  text << file.rdbuf();
  bytes = text.str();
  return true;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool WriteWholeFile(const std::filesystem::path& path, std::string_view text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  file.close();
  return static_cast<bool>(file);
}

std::string VisibleBytes(std::string_view bytes) {
  std::string visible;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\') {
      visible += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      visible += escaped;
    }
  }
  return visible;
}

}  // namespace sim
