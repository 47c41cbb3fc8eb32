#include "settings/settings_file.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "settings/number_text.h"

namespace vantor {

namespace {

enum class ValueKind : uint8_t {
  Flag,        // read as a number: true when neither zero nor NaN; written 1 or 0
  Number,      // read as strtof reads it; written as "%.6g"
  AllHeights,  // "Height": read into all 22 entries; never written
  OneHeight,   // "Height_" and an index: one entry; written as 22 lines, index 0 to 21
};

struct KeyEntry {
  std::string_view key;
  ValueKind kind;
  bool Settings::*flag;
  float Settings::*number;
};

// Every key the file knows, in the order in which the reader compares them and the writer
// writes them (the writer leaves out "Height").
constexpr KeyEntry Keys[] = {
    {"ModEnabled", ValueKind::Flag, &Settings::ModEnabled, nullptr},
    {"FOV", ValueKind::Number, nullptr, &Settings::FOV},
    {"Height", ValueKind::AllHeights, nullptr, nullptr},
    {"Height_", ValueKind::OneHeight, nullptr, nullptr},
    {"LookSensitivity", ValueKind::Number, nullptr, &Settings::LookSensitivity},
    {"AutoRecenter", ValueKind::Flag, &Settings::AutoRecenter, nullptr},
    {"DynamicFOV", ValueKind::Flag, &Settings::DynamicFOV, nullptr},
    {"CornerLean", ValueKind::Flag, &Settings::CornerLean, nullptr},
    {"BetterHookerView", ValueKind::Flag, &Settings::BetterHookerView, nullptr},
};

constexpr std::size_t HeightPrefixLength = 7;  // "Height_"

constexpr std::size_t LongestKey() {
  std::size_t longest = 0;
  for (const KeyEntry& entry : Keys)
    if (entry.key.size() > longest) longest = entry.key.size();
  return longest;
}
// Bytes of a key worth keeping: no recognised key is longer, and a longer key can only match
// the "Height_" form, which looks at its first seven bytes and reads the rest as it streams by.
constexpr std::size_t KeyBytesKept = LongestKey();
static_assert(KeyBytesKept >= HeightPrefixLength);

// The index after "Height_", read as atoi reads it (white space, a sign, decimal digits up to
// the first other byte, no digits giving 0), except that a number outside 0 to 21, one beyond
// the 32-bit range included, is rejected rather than wrapped.
class IndexReader {
 public:
  void Put(char byte) {
    switch (phase_) {
      case Phase::Blank:
        if (byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' || byte == '\r') return;
        phase_ = Phase::Digits;
        if (byte == '+' || byte == '-') {
          negative_ = byte == '-';
          return;
        }
        [[fallthrough]];
      case Phase::Digits:
        if (byte >= '0' && byte <= '9') {
          if (value_ <= VehicleClassCount) value_ = value_ * 10 + (byte - '0');  // saturates past 21
          return;
        }
        phase_ = Phase::Done;
        return;
      case Phase::Done:
        return;
    }
  }

  // The entry named, or -1 when the index is out of range.
  int32_t Index() const {
    if (value_ == 0) return 0;  // "-0", no digits and "0" alike
    if (negative_ || value_ >= VehicleClassCount) return -1;
    return value_;
  }

 private:
  enum class Phase : uint8_t { Blank, Digits, Done };
  Phase phase_ = Phase::Blank;
  bool negative_ = false;
  int32_t value_ = 0;
};

const KeyEntry* FindKey(const char* key, std::size_t length) {
  for (const KeyEntry& entry : Keys) {
    if (entry.kind == ValueKind::OneHeight) {
      if (length >= HeightPrefixLength && std::string_view(key, HeightPrefixLength) == entry.key) return &entry;
    } else if (length == entry.key.size() && std::string_view(key, length) == entry.key) {
      return &entry;
    }
  }
  return nullptr;
}

void Apply(Settings& settings, const KeyEntry& entry, int32_t index, float value) {
  switch (entry.kind) {
    case ValueKind::Flag:
      settings.*entry.flag = value != 0.0f && !std::isnan(value);
      break;
    case ValueKind::Number:
      settings.*entry.number = value;
      break;
    case ValueKind::AllHeights:
      for (float& height : settings.Height) height = value;
      break;
    case ValueKind::OneHeight:
      if (index >= 0) settings.Height[index] = value;
      break;
  }
}

// The state of the line being read, carried across the chunks of the file.
class LineReader {
 public:
  explicit LineReader(Settings& settings) : settings_(settings) {}

  void Put(char byte) {
    if (byte == '\n') {
      EndLine();
      return;
    }
    // A CR just before the LF needs no removal: in a key it would be a line without "=", and
    // in a value it is white space before the number or a byte after it.
    if (inValue_) {
      if (target_ != nullptr) number_.Put(byte);
      return;
    }
    if (byte == '=') {
      inValue_ = true;
      target_ = FindKey(key_, keyLength_);
      return;
    }
    if (keyLength_ >= HeightPrefixLength) index_.Put(byte);
    if (keyLength_ < KeyBytesKept) key_[keyLength_] = byte;
    ++keyLength_;
  }

  // Ends the line in progress, the last one of a file without a final line end included.
  void EndLine() {
    if (target_ != nullptr) {
      Apply(settings_, *target_, index_.Index(), number_.Value());
      recognised_ = true;
    }
    keyLength_ = 0;
    inValue_ = false;
    target_ = nullptr;
    index_ = IndexReader{};
    number_ = NumberReader{};
  }

  bool recognised() const { return recognised_; }

 private:
  Settings& settings_;
  bool recognised_ = false;
  bool inValue_ = false;
  const KeyEntry* target_ = nullptr;
  std::size_t keyLength_ = 0;
  char key_[KeyBytesKept] = {};
  IndexReader index_;
  NumberReader number_;
};

// Each line is at most the longest key, "=", a number and CR LF.
constexpr std::size_t LineCount = 29;
constexpr std::size_t LongestLine = KeyBytesKept + 1 + NumberTextCapacity + 2;
constexpr std::size_t FileCapacity = LineCount * LongestLine;

class TextBuilder {
 public:
  void Append(std::string_view text) {
    for (const char c : text) buffer_[length_++] = c;
  }
  void AppendNumber(float value) { length_ = static_cast<std::size_t>(WriteNumber(buffer_ + length_, value) - buffer_); }
  void AppendIndex(int32_t index) {
    length_ = static_cast<std::size_t>(std::to_chars(buffer_ + length_, buffer_ + FileCapacity, index).ptr - buffer_);
  }
  const char* data() const { return buffer_; }
  std::size_t size() const { return length_; }

 private:
  char buffer_[FileCapacity];
  std::size_t length_ = 0;
};

void ComposeFile(const Settings& settings, TextBuilder& text) {
  static constexpr std::string_view LineEnd = "\r\n";
  for (const KeyEntry& entry : Keys) {
    switch (entry.kind) {
      case ValueKind::Flag:
        text.Append(entry.key);
        text.Append(settings.*entry.flag ? "=1" : "=0");
        text.Append(LineEnd);
        break;
      case ValueKind::Number:
        text.Append(entry.key);
        text.Append("=");
        text.AppendNumber(settings.*entry.number);
        text.Append(LineEnd);
        break;
      case ValueKind::AllHeights:
        break;
      case ValueKind::OneHeight:
        for (int32_t i = 0; i < VehicleClassCount; ++i) {
          text.Append(entry.key);
          text.AppendIndex(i);
          text.Append("=");
          text.AppendNumber(settings.Height[i]);
          text.Append(LineEnd);
        }
        break;
    }
  }
}

// An existing settings file must be a regular file that this process may write; it is opened
// for appending, which changes nothing, and closed again at once.
bool TargetWritable() {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(SettingsFileName, error);
  if (status.type() == fs::file_type::not_found) return true;
  if (error || !fs::is_regular_file(status)) return false;
  std::ofstream probe(SettingsFileName, std::ios::binary | std::ios::app);
  return probe.is_open();
}

}  // namespace

bool LoadSettings(Settings& settings) {
  // Binary: the line ends are handled here, the same on every platform (no CR LF translation
  // and no end-of-file at a Ctrl-Z byte as in Windows text mode).
  std::ifstream file(SettingsFileName, std::ios::binary);
  if (!file.is_open()) return false;
  LineReader lines(settings);
  char chunk[4096];
  for (;;) {
    file.read(chunk, sizeof chunk);
    const std::streamsize count = file.gcount();
    if (count <= 0) break;
    for (std::streamsize i = 0; i < count; ++i) lines.Put(chunk[i]);
  }
  lines.EndLine();
  return lines.recognised();
}

bool SaveSettings(const Settings& settings) {
  namespace fs = std::filesystem;
  TextBuilder text;
  ComposeFile(settings, text);

  if (!TargetWritable()) return false;

  // A leftover temporary (a save cut short by a crash) goes first, so that nothing is
  // written through whatever stands under that name.
  std::error_code error;
  fs::remove(SettingsTemporaryFileName, error);

  bool written = false;
  {
    // Binary, so that Windows text mode cannot turn CR LF into CR CR LF.
    std::ofstream file(SettingsTemporaryFileName, std::ios::binary | std::ios::trunc);
    if (!file.is_open()) return false;
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.flush();
    written = file.good();
    file.close();
    written = written && !file.fail();
  }
  if (written) {
    // Replaces an existing file on Linux and on Windows alike (MoveFileEx there).
    fs::rename(SettingsTemporaryFileName, SettingsFileName, error);
    if (!error) return true;
  }
  fs::remove(SettingsTemporaryFileName, error);
  return false;
}

}  // namespace vantor
