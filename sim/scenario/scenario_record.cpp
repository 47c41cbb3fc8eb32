#include "sim/scenario/scenario_record.h"

#include <toml++/toml.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string_view>

#include "sim/core/float_bits.h"
#include "sim/scenario/scenario_file.h"

namespace sim {

namespace {

// Shortest text that reads back as the same float; TOML needs a point or an exponent for a
// float, so "-0" is written "-0.0" (as an integer it would lose its sign).
std::string Number(float value) {
  char buffer[48];
  std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
  // The reader takes a double and rounds it to float: should the shortest float text ever sit
  // on a rounding edge for that, the double's own text is written instead (its 17 digits name it
  // alone, and every build's <charconv> has that form).
  const float back = static_cast<float>(std::strtod(text.c_str(), nullptr));
  if (FloatBits(back) != FloatBits(value) && !std::isnan(value))
    text.assign(buffer, std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::general, std::numeric_limits<double>::max_digits10)
                            .ptr);
  if (text.find_first_of(".en") == std::string::npos) text += ".0";
  return text;
}

std::string Vector(Vec3 v) { return "[" + Number(v.x) + ", " + Number(v.y) + ", " + Number(v.z) + "]"; }

// A TOML basic string: quotes, backslashes and control bytes escaped, other bytes as they are.
std::string Quoted(std::string_view bytes) {
  std::string text = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        text += "\\\"";
        break;
      case '\\':
        text += "\\\\";
        break;
      case '\b':
        text += "\\b";
        break;
      case '\t':
        text += "\\t";
        break;
      case '\n':
        text += "\\n";
        break;
      case '\f':
        text += "\\f";
        break;
      case '\r':
        text += "\\r";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04X", byte);
          text += escape;
        } else {
          text += c;
        }
    }
  }
  return text + "\"";
}

// Whether TOML carries the bytes unchanged: they must be UTF-8, and the parser must give them back.
bool TomlCarries(std::string_view bytes) {
  if (!IsUtf8(bytes)) return false;
  try {
    const toml::table table = toml::parse("text = " + Quoted(bytes));
    const auto back = table["text"].value<std::string>();
    return back && *back == bytes;
  } catch (const toml::parse_error&) {
    return false;
  }
}

bool IsCameraSpan(EventKind kind) {
  return kind == EventKind::Cutscene || kind == EventKind::Cinematic || kind == EventKind::OtherCamera;
}

// A camera span is written as its start with `until`: the index of the event that ends the
// span starting at `start`, the first of its kind ending after it that no other span took.
size_t SpanEnd(const Scenario& scenario, size_t start, const std::vector<char>& taken) {
  const ScenarioEvent& begin = scenario.events[start];
  for (size_t i = start + 1; i < scenario.events.size(); ++i) {
    const ScenarioEvent& event = scenario.events[i];
    if (event.kind == begin.kind && !event.flag && event.frame > begin.frame && taken[i] == 0) return i;
  }
  return scenario.events.size();
}

// The value written for one of an action's own keys, or nothing where the event leaves it out.
std::optional<std::string> KeyValue(std::string_view key, const ScenarioEvent& event) {
  const auto optional = [](const std::optional<float>& value) {
    return value ? std::optional<std::string>(Number(*value)) : std::nullopt;
  };
  if (key == "seat") return std::to_string(event.seat);
  if (key == "stand" || key == "offset") return Vector(event.offset);
  if (key == "speed") return optional(event.speed);
  if (key == "turn_rate") return optional(event.turnRate);
  if (key == "pitch") return optional(event.pitch);
  if (key == "roll") return optional(event.roll);
  if (key == "yaw") return optional(event.yaw);
  if (key == "x") return Number(event.lookX);
  if (key == "y") return Number(event.lookY);
  if (key == "key") {
    const char* name = KeyNameByCode(event.key);
    return Quoted(name != nullptr ? name : "");
  }
  if (key == "class" || key == "time") return std::to_string(event.value);
  if (key == "amount") return Number(event.amount);
  return std::nullopt;  // "vehicle" is written first, for any event; "distance" is written as the offset
}

std::string EventLine(const Scenario& scenario, const ScenarioEvent& event) {
  std::string line = "  { at = " + std::to_string(event.frame) + ", do = \"" + ActionName(event.kind) + "\"";
  const auto add = [&line](std::string_view key, const std::string& value) {
    line += std::string(", ") + std::string(key) + " = " + value;
  };
  if (event.vehicle >= 0 && static_cast<size_t>(event.vehicle) < scenario.vehicles.size())
    add("vehicle", Quoted(scenario.vehicles[static_cast<size_t>(event.vehicle)].name));
  const std::string_view keys = ActionKeys(event.kind);
  for (size_t begin = keys.find_first_not_of(' '); begin != std::string_view::npos;) {
    const size_t end = keys.find(' ', begin);
    const std::string_view key = keys.substr(begin, end - begin);
    if (const auto value = KeyValue(key, event)) add(key, *value);
    begin = keys.find_first_not_of(' ', end);
  }
  return line + " },\n";
}

std::string VehicleTable(const ScenarioVehicle& vehicle) {
  std::string table =
      "\n[[vehicle]]\nname = " + Quoted(vehicle.name) + "\nclass = " + std::to_string(vehicle.vehicleClass) + "\n";
  table += "seat_bone = " + (vehicle.hasSeatBone ? Vector(vehicle.seatBone) : std::string("false")) + "\n";
  table += "max_passengers = " + std::to_string(vehicle.maxPassengers) + "\n";
  table += "position = " + Vector(vehicle.position) + "\nrotation = " + Vector(vehicle.rotation) + "\n";
  table += "speed = " + Number(vehicle.speed) + "\nturn_rate = " + Number(vehicle.turnRate) + "\n";
  return table;
}

}  // namespace

bool IsUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const size_t length = lead < 0x80             ? 1
                          : (lead & 0xE0) == 0xC0 ? 2
                          : (lead & 0xF0) == 0xE0 ? 3
                          : (lead & 0xF8) == 0xF0 ? 4
                                                  : 0;
    if (length == 0 || i + length > bytes.size()) return false;
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    constexpr uint32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

ScenarioText WriteScenarioToml(const Scenario& scenario, std::string_view settingsFileName) {
  ScenarioText out;
  std::string& text = out.toml;
  text = "# Recorded by vantor-sim drive; `vantor-sim FILE` plays it again to the same trace.\n";
  if (!scenario.name.empty()) text += "name = " + Quoted(scenario.name) + "\n";
  if (!scenario.track.empty()) text += "track = " + Quoted(scenario.track) + "\n";
  text += "frame_time_ms = " + std::to_string(scenario.frameTimeMs) + "\n";
  text += "frames = " + std::to_string(scenario.frames) + "\n";
  text += "start_timer = " + std::to_string(scenario.startTimer) + "\n";
  text += "view_mode = " + std::to_string(scenario.viewMode) + "\n";
  if (scenario.settingsFileBlocked) {
    text += "settings_file_blocked = true\n";
  } else if (scenario.settingsFile && TomlCarries(*scenario.settingsFile)) {
    text += "settings_file = " + Quoted(*scenario.settingsFile) + "\n";
  } else if (scenario.settingsFile) {
    text += "settings_file_from = " + Quoted(settingsFileName) + "  # not UTF-8: its bytes are in that file\n";
    out.settingsBeside = scenario.settingsFile;
  }
  text += "\nevents = [\n";
  std::vector<char> taken(scenario.events.size(), 0);  // ends of camera spans, written with their start
  for (size_t i = 0; i < scenario.events.size(); ++i) {
    const ScenarioEvent& event = scenario.events[i];
    if (taken[i] != 0) continue;
    std::string line = EventLine(scenario, event);
    if (IsCameraSpan(event.kind) && event.flag) {
      const size_t end = SpanEnd(scenario, i, taken);
      // Spans come in pairs as the reader makes them; one built without an end lasts the run.
      const int32_t until =
          end < scenario.events.size() ? scenario.events[end].frame : std::max(scenario.frames, event.frame + 1);
      if (end < scenario.events.size()) taken[end] = 1;
      line.insert(line.size() - 4, ", until = " + std::to_string(until));
    } else if (IsCameraSpan(event.kind)) {
      continue;  // the reader never makes an end without its start
    }
    text += line;
  }
  text += "]\n";
  for (const ScenarioVehicle& vehicle : scenario.vehicles) text += VehicleTable(vehicle);
  return out;
}

}  // namespace sim
